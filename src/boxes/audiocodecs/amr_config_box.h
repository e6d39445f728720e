#pragma once
#include <cstdint>

#include "boxes/box.h"

// damr: an AMR stream's encoder and the modes its packets use.
class CAMRConfigBox : public CBox {
public:
    explicit CAMRConfigBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_vendor = 0;
    uint32_t m_decoderVersion = 0;    // 8
    uint32_t m_modeSet = 0;           // 16, one bit per mode
    uint32_t m_modeChangePeriod = 0;  // 8
    uint32_t m_framesPerSample = 0;   // 8
};
