#include "boxes/metadata/item_location_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

namespace {
// A field of 0, 4 or 8 bytes; one of 0 bytes is 0.
int ReadSized(CBitStreamReader& reader, uint32_t bytes, uint64_t& out) {
    return bytes == 0 ? 0 : reader.ReadBits(bytes * 8, out);
}

bool ValidSize(uint32_t bytes) { return bytes == 0 || bytes == 4 || bytes == 8; }
}  // namespace

int CItemLocationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    const bool indexed = m_version == 1 || m_version == 2;  // an index size and a construction method
    if (reader.ReadBits(4, m_offsetSize) < 0 || reader.ReadBits(4, m_lengthSize) < 0 ||
        reader.ReadBits(4, m_baseOffsetSize) < 0 || reader.ReadBits(4, indexed ? m_indexSize : m_reserved) < 0)
        return -1;
    CORVEL_LOG("[Item Location Box] offset_size: %ld, length_size: %ld, base_offset_size: %ld, index_size: %ld",
               static_cast<long>(m_offsetSize), static_cast<long>(m_lengthSize), static_cast<long>(m_baseOffsetSize),
               static_cast<long>(m_indexSize));
    if (!ValidSize(m_offsetSize) || !ValidSize(m_lengthSize) || !ValidSize(m_baseOffsetSize) || !ValidSize(m_indexSize)) {
        CORVEL_LOG("[Item Location Box] a field size is not 0, 4 or 8");
        return -1;
    }
    const uint32_t idBits = m_version == 2 ? 32 : 16;
    if (reader.ReadBits(idBits, m_itemCount) < 0) return -1;
    CORVEL_LOG("[Item Location Box] item_count: %ld", static_cast<long>(m_itemCount));

    const uint32_t itemBytes = idBits / 8 + (indexed ? 2 : 0) + 2 + m_baseOffsetSize + 2;
    const uint32_t extentBytes = (indexed ? m_indexSize : 0) + m_offsetSize + m_lengthSize;
    return ReadEach(reader, m_itemCount, itemBytes, m_items, [&](Item& item) {
        if (reader.ReadBits(idBits, item.itemID) < 0) return -1;
        if (indexed && (reader.ReadBits(12, item.reserved) < 0 || reader.ReadBits(4, item.constructionMethod) < 0))
            return -1;
        if (reader.ReadBits(16, item.dataReferenceIndex) < 0 || ReadSized(reader, m_baseOffsetSize, item.baseOffset) < 0 ||
            reader.ReadBits(16, item.extentCount) < 0)
            return -1;
        CORVEL_LOG("[Item Location Box] [%ld] item_ID: %ld", static_cast<long>(m_items.size()),
                   static_cast<long>(item.itemID));
        if (extentBytes == 0) return 0;
        return ReadEach(reader, item.extentCount, extentBytes, item.extents, [&](Extent& e) {
            if ((indexed && ReadSized(reader, m_indexSize, e.index) < 0) || ReadSized(reader, m_offsetSize, e.offset) < 0 ||
                ReadSized(reader, m_lengthSize, e.length) < 0)
                return -1;
            return 0;
        });
    });
}
