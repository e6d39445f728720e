#include "boxes/items/pixel_information_box.h"

#include "boxes/sampletable/table_reader.h"

int CPixelInformationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(8, m_numChannels) < 0) return -1;
    return ReadTable(reader, m_numChannels, 1, m_bitsPerChannel, [](const uint8_t* p) { return uint32_t{*p}; });
}
