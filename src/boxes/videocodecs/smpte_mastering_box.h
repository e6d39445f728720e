#pragma once
#include <cstdint>

#include "boxes/box.h"

// SmDm: the mastering display metadata of the VP codec binding: chromaticities in 0.16
// fixed point, maximum luminance in 24.8 and minimum in 18.14 (cd/m2).
class CSmpteMasteringBox : public CFullBox {
public:
    explicit CSmpteMasteringBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_primaries[3][2] = {};  // R, G, B: x, y, 16 bits
    uint32_t m_whitePoint[2] = {};    // 16 bits
    uint32_t m_luminanceMax = 0;
    uint32_t m_luminanceMin = 0;
};
