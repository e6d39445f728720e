#pragma once
#include <cstdint>

#include "boxes/box.h"

// imir: the axis an image item is mirrored about.
class CImageMirrorBox : public CBox {
public:
    explicit CImageMirrorBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_reserved = 0;  // 7 bits
    uint32_t m_axis = 0;      // 1 bit: 0 vertical, 1 horizontal
};
