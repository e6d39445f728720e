#include "boxes/videocodecs/vp_configuration_box.h"

int CVPConfigurationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (m_version != 1) return 0;
    for (auto [field, bits] : {std::pair{&m_profile, 8u}, {&m_level, 8u}, {&m_bitDepth, 4u}, {&m_chromaSubsampling, 3u},
                               {&m_videoFullRangeFlag, 1u}, {&m_colourPrimaries, 8u}, {&m_transferCharacteristics, 8u},
                               {&m_matrixCoefficients, 8u}, {&m_codecInitializationDataSize, 16u}})
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return reader.ReadBytes(m_codecInitializationDataSize, m_codecInitializationData);
}
