#include "boxes/audiocodecs/amr_config_box.h"

int CAMRConfigBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(32, m_vendor) < 0 || reader.ReadBits(8, m_decoderVersion) < 0 ||
        reader.ReadBits(16, m_modeSet) < 0 || reader.ReadBits(8, m_modeChangePeriod) < 0 ||
        reader.ReadBits(8, m_framesPerSample) < 0)
        return -1;
    return 0;
}
