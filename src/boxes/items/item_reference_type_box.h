#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// A child of iref: the items one item refers to, the reference type being the box type.
class CItemReferenceTypeBox : public CBox {
public:
    // `idBits`: 16 or 32, from the iref's version.
    CItemReferenceTypeBox(const CBox& header, uint32_t idBits) : CBox(header), m_idBits(idBits) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_idBits;
    uint32_t m_fromItemID = 0;
    uint32_t m_referenceCount = 0;  // 16 bits
    std::vector<uint32_t> m_toItemIDs;
};
