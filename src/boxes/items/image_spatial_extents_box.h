#pragma once
#include <cstdint>

#include "boxes/box.h"

// ispe: the width and height of an image item, in pixels.
class CImageSpatialExtentsBox : public CFullBox {
public:
    explicit CImageSpatialExtentsBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_imageWidth = 0;
    uint32_t m_imageHeight = 0;
};
