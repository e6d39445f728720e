#pragma once
#include <cstdint>

#include "boxes/box.h"

// alac inside an alac entry: the decoder's magic cookie.
class CALACConfigBox : public CFullBox {
public:
    explicit CALACConfigBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_frameLength = 0;
    uint32_t m_compatibleVersion = 0;  // 8
    uint32_t m_bitDepth = 0;           // 8
    uint32_t m_pb = 0;                 // 8, rice history multiplier
    uint32_t m_mb = 0;                 // 8, rice initial history
    uint32_t m_kb = 0;                 // 8, rice parameter limit
    uint32_t m_numChannels = 0;        // 8
    uint32_t m_maxRun = 0;             // 16
    uint32_t m_maxFrameBytes = 0;
    uint32_t m_avgBitRate = 0;
    uint32_t m_sampleRate = 0;
};
