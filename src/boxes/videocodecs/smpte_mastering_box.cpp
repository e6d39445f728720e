#include "boxes/videocodecs/smpte_mastering_box.h"

int CSmpteMasteringBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    for (auto& primary : m_primaries)
        for (uint32_t& c : primary)
            if (reader.ReadBits(16, c) < 0) return -1;
    for (uint32_t& c : m_whitePoint)
        if (reader.ReadBits(16, c) < 0) return -1;
    if (reader.ReadBits(32, m_luminanceMax) < 0 || reader.ReadBits(32, m_luminanceMin) < 0) return -1;
    return 0;
}
