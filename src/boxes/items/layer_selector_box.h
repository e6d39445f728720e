#pragma once
#include <cstdint>

#include "boxes/box.h"

// lsel: the layer of a layered image item to show.
class CLayerSelectorBox : public CBox {
public:
    explicit CLayerSelectorBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_layerId = 0;  // 16 bits
};
