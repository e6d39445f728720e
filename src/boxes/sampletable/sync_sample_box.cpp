#include "boxes/sampletable/sync_sample_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CSyncSampleBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CSyncSampleBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    return m_sampleNumbers.Read(reader, m_entryCount, 4);
}

uint32_t CSyncSampleBox::DecodeNumber(const uint8_t* p, uint32_t) { return Be32(p); }

int CShadowSyncSampleBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    const uint64_t firstBit = reader.FileBit();
    const int status = ReadRecords(reader, m_entryCount, 8, [this](const uint8_t* p) {
        m_shadowedSampleNumbers.push_back(Be32(p));
        m_syncSampleNumbers.push_back(Be32(p + 4));
    });
    // Each number's span is its whole pair.
    NoteTable(reader, m_shadowedSampleNumbers, 0, firstBit, 64);
    NoteTable(reader, m_syncSampleNumbers, 0, firstBit, 64);
    return status;
}

uint32_t CShadowSyncSampleBox::GetShadowedSampleNumber(uint32_t i) const { return EntryAt(m_shadowedSampleNumbers, i); }
uint32_t CShadowSyncSampleBox::GetSyncSampleNumber(uint32_t i) const { return EntryAt(m_syncSampleNumbers, i); }
