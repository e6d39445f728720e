#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// dOps: the Opus decoder's setup, as an Opus stream's identification header holds it
// (big-endian here).
class COpusConfigBox : public CBox {
public:
    explicit COpusConfigBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_version = 0;             // 8
    uint32_t m_outputChannelCount = 0;  // 8
    uint32_t m_preSkip = 0;             // 16
    uint32_t m_inputSampleRate = 0;
    uint32_t m_outputGain = 0;          // 16, signed Q7.8 dB
    uint32_t m_channelMappingFamily = 0;  // 8
    // With a mapping family other than 0:
    uint32_t m_streamCount = 0;   // 8
    uint32_t m_coupledCount = 0;  // 8
    std::vector<uint8_t> m_channelMapping;  // one byte per output channel
};
