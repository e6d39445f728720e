#include "boxes/sampletable/time_to_sample_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CTimeToSampleBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CTimeToSampleBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    return m_entries.Read(reader, m_entryCount, 8);
}

CTimeToSampleBox::Entry CTimeToSampleBox::DecodeEntry(const uint8_t* p, uint32_t) { return {Be32(p), Be32(p + 4)}; }

uint32_t CTimeToSampleBox::RetrieveSampleCount(uint32_t i) const {
    if (i < m_entries.size() && i < m_entryCount) return m_entries[i].sampleCount;
    CORVEL_LOG("[CTimeToSampleBox::RetrieveSampleCount] Larger than entry count - (%ld, %ld)",
               static_cast<long>(m_entryCount), static_cast<long>(i));
    return 0;
}

uint32_t CTimeToSampleBox::RetrieveSampleDelta(uint32_t i) const {
    if (i < m_entries.size()) return m_entries[i].sampleDelta;
    CORVEL_LOG("[CTimeToSampleBox::RetrieveSampleDelta] Larger than entry count - (%ld, %ld)",
               static_cast<long>(m_entryCount), static_cast<long>(i));
    return 0;
}

int CCompositionOffsetBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CCompositionOffsetBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    return m_entries.Read(reader, m_entryCount, 8);
}

CCompositionOffsetBox::Entry CCompositionOffsetBox::DecodeEntry(const uint8_t* p, uint32_t) {
    return {Be32(p), Be32(p + 4)};
}
uint32_t CCompositionOffsetBox::GetSampleCount(uint32_t i) const { return m_entries.At(i).sampleCount; }
uint32_t CCompositionOffsetBox::GetSampleOffset(uint32_t i) const { return m_entries.At(i).sampleOffset; }

int CCompositionToDecodeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Signed fields, read as their 32 bits.
    for (int32_t* field : {&m_compositionToDTSShift, &m_leastDecodeToDisplayDelta, &m_greatestDecodeToDisplayDelta,
                           &m_compositionStartTime, &m_compositionEndTime})
        if (reader.ReadBits(32, reinterpret_cast<uint32_t&>(*field)) < 0) return -1;
    return 0;
}
