#include "boxes/videocodecs/dolby_vision_configuration_box.h"

int CDolbyVisionConfigurationBox::ParseBox(CBitStreamReader& reader) {
    for (auto [field, bits] : {std::pair{&m_versionMajor, 8u}, {&m_versionMinor, 8u}, {&m_profile, 7u}, {&m_level, 6u},
                               {&m_rpuPresent, 1u}, {&m_elPresent, 1u}, {&m_blPresent, 1u},
                               {&m_blSignalCompatibilityId, 4u}, {&m_reserved, 28u}})
        if (reader.ReadBits(bits, *field) < 0) return -1;
    for (uint32_t& word : m_reserved2)
        if (reader.ReadBits(32, word) < 0) return -1;
    return 0;
}
