#pragma once
#include <cstdint>

#include "boxes/box.h"

// dac3: an AC-3 stream's parameters, as its first sync frame carries them.
class CAC3ConfigBox : public CBox {
public:
    explicit CAC3ConfigBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The channels the coding mode carries, the LFE channel included.
    uint32_t Channels() const;

    uint32_t m_fscod = 0;        // 2
    uint32_t m_bsid = 0;         // 5
    uint32_t m_bsmod = 0;        // 3
    uint32_t m_acmod = 0;        // 3
    uint32_t m_lfeon = 0;        // 1
    uint32_t m_bitRateCode = 0;  // 5
    uint32_t m_reserved = 0;     // 5
};
