#pragma once
#include <cstdint>

#include "boxes/box.h"

// mdcv: the mastering display's colour volume (SMPTE ST 2086): primaries and white
// point in 0.00002 units, luminance in 0.0001 cd/m2.
class CMasteringDisplayBox : public CBox {
public:
    explicit CMasteringDisplayBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_primaries[3][2] = {};  // x, y of each, 16 bits
    uint32_t m_whitePoint[2] = {};    // 16 bits
    uint32_t m_maxLuminance = 0;
    uint32_t m_minLuminance = 0;
};
