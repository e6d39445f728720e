#include "boxes/sampletable/padding_bits_box.h"

#include "boxes/sampletable/table_reader.h"

int CPaddingBitsBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    // One byte holds the padding of two samples.
    return ReadTable(reader, (uint64_t{m_sampleCount} + 1) / 2, 1, m_bytes, [](const uint8_t* p) { return *p; });
}
