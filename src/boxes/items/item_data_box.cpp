#include "boxes/items/item_data_box.h"

int CItemDataBox::ParseBox(CBitStreamReader& reader) {
    const uint64_t startBit = reader.FileBit();
    m_dataOffset = startBit / 8;
    m_dataSize = reader.PresentBytes();
    reader.SkipBits(m_dataSize * 8);
    reader.NoteSince(&m_dataSize, startBit);
    return 0;
}
