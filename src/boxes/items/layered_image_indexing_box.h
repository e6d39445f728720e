#pragma once
#include <cstdint>

#include "boxes/box.h"

// a1lx: the sizes of the first three layers of a layered AV1 image item (the last
// layer takes the rest); 16-bit sizes, 32-bit with the large size flag.
class CLayeredImageIndexingBox : public CBox {
public:
    explicit CLayeredImageIndexingBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_reserved = 0;   // 7 bits
    uint32_t m_largeSize = 0;  // 1 bit
    uint32_t m_layerSize[3] = {};
};
