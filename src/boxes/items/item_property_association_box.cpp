#include "boxes/items/item_property_association_box.h"

#include "boxes/sampletable/table_reader.h"

int CItemPropertyAssociationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_entryCount) < 0) return -1;
    const uint32_t idBits = m_version < 1 ? 16 : 32;
    const uint32_t indexBits = (m_flags & 1) ? 15 : 7;
    return ReadEach(reader, m_entryCount, idBits / 8 + 1, m_entries, [&](Entry& e) {
        if (reader.ReadBits(idBits, e.itemID) < 0 || reader.ReadBits(8, e.associationCount) < 0) return -1;
        return ReadEach(reader, e.associationCount, (1 + indexBits) / 8, e.associations, [&](Association& a) {
            return reader.ReadBits(1, a.essential) < 0 || reader.ReadBits(indexBits, a.index) < 0 ? -1 : 0;
        });
    });
}
