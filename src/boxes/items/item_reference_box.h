#pragma once
#include <cstdint>

#include "boxes/box.h"

// iref: the references between items, one child per reference type (dimg, thmb,
// auxl, cdsc, ...); their item IDs are 16 bits in version 0, 32 in version 1.
class CItemReferenceBox : public CFullBox {
public:
    explicit CItemReferenceBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
