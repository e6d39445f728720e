#include "boxes/items/entity_to_group_box.h"

#include "boxes/sampletable/table_reader.h"

int CEntityToGroupBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_groupId) < 0 ||
        reader.ReadBits(32, m_numEntitiesInGroup) < 0)
        return -1;
    return ReadTable(reader, m_numEntitiesInGroup, 4, m_entityIds, [](const uint8_t* p) { return Be32(p); });
}
