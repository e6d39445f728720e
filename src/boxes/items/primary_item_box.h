#pragma once
#include <cstdint>

#include "boxes/box.h"

// pitm: the item a reader shows first (the image of an image file).
class CPrimaryItemBox : public CFullBox {
public:
    explicit CPrimaryItemBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_itemID = 0;  // 16 bits, 32 from version 1
};
