#include "boxes/audiocodecs/alac_config_box.h"

#include <utility>

int CALACConfigBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    const std::pair<uint32_t*, uint32_t> fields[] = {
        {&m_frameLength, 32}, {&m_compatibleVersion, 8}, {&m_bitDepth, 8},      {&m_pb, 8},
        {&m_mb, 8},           {&m_kb, 8},                {&m_numChannels, 8},   {&m_maxRun, 16},
        {&m_maxFrameBytes, 32}, {&m_avgBitRate, 32},     {&m_sampleRate, 32}};
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return 0;
}
