#include "boxes/items/auxiliary_type_box.h"

int CAuxiliaryTypeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadString(m_auxType) < 0) return -1;
    const uint64_t startBit = reader.FileBit();
    if (reader.ReadBytes(reader.RemainingBytes(), m_auxSubtype) < 0) return -1;
    reader.NoteSince(&m_auxSubtype, startBit);
    return 0;
}
