#pragma once
#include <cstdint>

#include "boxes/box.h"

// rloc: where an image item lies within the image it belongs to, in pixels.
class CRelativeLocationBox : public CFullBox {
public:
    explicit CRelativeLocationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_horizontalOffset = 0;
    uint32_t m_verticalOffset = 0;
};
