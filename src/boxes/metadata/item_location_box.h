#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// iloc: where each item's data lies, as extents in the file (or in an idat).
class CItemLocationBox : public CFullBox {
public:
    struct Extent {
        uint64_t index = 0;  // versions 1 and 2 with an index size only
        uint64_t offset = 0;
        uint64_t length = 0;
    };
    struct Item {
        uint32_t itemID = 0;              // 16 bits, 32 in version 2
        uint32_t reserved = 0;            // 12 bits, versions 1 and 2
        uint32_t constructionMethod = 0;  // 4 bits, versions 1 and 2: 0 file, 1 idat, 2 item
        uint32_t dataReferenceIndex = 0;  // 16 bits
        uint64_t baseOffset = 0;
        uint32_t extentCount = 0;         // 16 bits
        // The extents read. Extents of no bytes (offset, length and index sizes all 0)
        // are all zero and not stored.
        std::vector<Extent> extents;
    };
    explicit CItemLocationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Null at or past the stored items.
    const Item* GetItem(size_t i) const { return i < m_items.size() ? &m_items[i] : nullptr; }
    // Extent j of an item: zero past the stored ones.
    static Extent GetExtent(const Item& item, size_t j) { return j < item.extents.size() ? item.extents[j] : Extent{}; }

    // The sizes in bytes of the sized fields: 0, 4 or 8 each.
    uint32_t m_offsetSize = 0;
    uint32_t m_lengthSize = 0;
    uint32_t m_baseOffsetSize = 0;
    uint32_t m_indexSize = 0;  // versions 1 and 2; in version 0 the nibble is reserved
    uint32_t m_reserved = 0;
    uint32_t m_itemCount = 0;  // 16 bits, 32 in version 2
    std::vector<Item> m_items;
};
