#include "boxes/presentation/generic_media_info_box.h"

int CGenericMediaInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(16, m_graphicsMode) < 0) return -1;
    for (uint32_t& c : m_opcolor)
        if (reader.ReadBits(16, c) < 0) return -1;
    return reader.ReadBits(16, m_balance) < 0 || reader.ReadBits(16, m_reserved) < 0 ? -1 : 0;
}
