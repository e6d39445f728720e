#include "boxes/sampletable/sample_size_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CSampleSizeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CSampleSizeBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_sampleSize) < 0) return -1;
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    if (m_sampleSize != 0) return 0;  // one size for all: no table
    return m_entrySizes.Read(reader, m_sampleCount, 4);
}

uint32_t CSampleSizeBox::DecodeSize(const uint8_t* p, uint32_t) { return Be32(p); }

int CCompactSampleSizeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(24, m_reserved) < 0) return -1;
    if (reader.ReadBits(8, m_fieldSize) < 0) return -1;
    if (m_fieldSize != 4 && m_fieldSize != 8 && m_fieldSize != 16) {
        CORVEL_LOG("[CCompactSampleSizeBox::ParseBox] field_size must be 4, 8 or 16 not %d",
                   static_cast<int>(m_fieldSize));
        return -1;
    }
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    if (m_fieldSize == 16)
        return ReadTable(reader, m_sampleCount, 2, m_entrySizes, [](const uint8_t* p) { return Be16(p); });
    if (m_fieldSize == 8)
        return ReadTable(reader, m_sampleCount, 1, m_entrySizes, [](const uint8_t* p) { return uint32_t{*p}; });
    // 4 bits: two samples a byte, the first in the high half; an odd count leaves the last half unused.
    const uint64_t bytes = (uint64_t{m_sampleCount} + 1) / 2;
    const uint64_t firstBit = reader.FileBit();
    m_entrySizes.reserve(RecordsThatFit(reader, bytes, 1) * 2);
    const int status = ReadRecords(reader, bytes, 1, [this](const uint8_t* p) {
        m_entrySizes.push_back(*p >> 4);
        if (m_entrySizes.size() < m_sampleCount) m_entrySizes.push_back(*p & 0x0F);
    });
    NoteTable(reader, m_entrySizes, 0, firstBit, 4);
    return status;
}

uint32_t SampleCountOfSizeBox(const CBox& stbl, bool stszOnly) {
    if (auto* stsz = dynamic_cast<const CSampleSizeBox*>(stbl.RetrieveChildBox(FourCC("stsz"), true)))
        return stsz->GetSampleCount();
    if (stszOnly) return 0;
    if (auto* stz2 = dynamic_cast<const CCompactSampleSizeBox*>(stbl.RetrieveChildBox(FourCC("stz2"), true)))
        return stz2->GetSampleCount();
    return 0;
}
