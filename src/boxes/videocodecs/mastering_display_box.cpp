#include "boxes/videocodecs/mastering_display_box.h"

int CMasteringDisplayBox::ParseBox(CBitStreamReader& reader) {
    for (auto& primary : m_primaries)
        for (uint32_t& c : primary)
            if (reader.ReadBits(16, c) < 0) return -1;
    for (uint32_t& c : m_whitePoint)
        if (reader.ReadBits(16, c) < 0) return -1;
    if (reader.ReadBits(32, m_maxLuminance) < 0 || reader.ReadBits(32, m_minLuminance) < 0) return -1;
    return 0;
}
