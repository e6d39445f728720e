#include "boxes/items/primary_item_box.h"

int CPrimaryItemBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(m_version == 0 ? 16 : 32, m_itemID);
}
