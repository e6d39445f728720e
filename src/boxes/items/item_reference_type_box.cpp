#include "boxes/items/item_reference_type_box.h"

#include "boxes/sampletable/table_reader.h"

int CItemReferenceTypeBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(m_idBits, m_fromItemID) < 0 || reader.ReadBits(16, m_referenceCount) < 0) return -1;
    if (m_idBits == 16) return ReadTable(reader, m_referenceCount, 2, m_toItemIDs, [](const uint8_t* p) { return Be16(p); });
    return ReadTable(reader, m_referenceCount, 4, m_toItemIDs, [](const uint8_t* p) { return Be32(p); });
}
