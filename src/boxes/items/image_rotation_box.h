#pragma once
#include <cstdint>

#include "boxes/box.h"

// irot: the rotation of an image item, in steps of 90 degrees anticlockwise.
class CImageRotationBox : public CBox {
public:
    explicit CImageRotationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_reserved = 0;  // 6 bits
    uint32_t m_angle = 0;     // 2 bits
};
