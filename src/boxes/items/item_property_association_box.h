#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// ipma: for each item, the properties of the ipco that apply to it, by their index
// from 1 (0: none), each with a flag saying a reader must understand it.
class CItemPropertyAssociationBox : public CFullBox {
public:
    struct Association {
        uint32_t essential = 0;  // 1 bit
        uint32_t index = 0;      // 7 bits, 15 with flag 1
    };
    struct Entry {
        uint32_t itemID = 0;            // 16 bits, 32 from version 1
        uint32_t associationCount = 0;  // 8 bits
        std::vector<Association> associations;
    };
    explicit CItemPropertyAssociationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_entryCount = 0;
    std::vector<Entry> m_entries;
};
