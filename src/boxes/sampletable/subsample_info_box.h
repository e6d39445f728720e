#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// subs: the sub-samples of some samples. The sub-samples of all entries are kept
// in one array; each entry knows where its own start.
class CSubSampleInfoBox : public CFullBox {
public:
    struct Subsample {
        uint32_t size;  // 16 bits in version 0, 32 otherwise
        uint32_t priority;     // 8 bits
        uint32_t discardable;  // 8 bits
        uint32_t reserved;
    };
    struct Entry {
        uint32_t sampleDelta;
        uint32_t subsampleCount;  // 16 bits in the file
        uint32_t firstSubsample;  // index into m_subsamples
        uint32_t storedSubsamples;  // fewer than subsampleCount only when the payload ended early
    };
    explicit CSubSampleInfoBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // Each 0 (a zero record) at or past the stored entries / sub-samples.
    uint32_t GetSampleDelta(uint32_t i) const { return i < m_entries.size() ? m_entries[i].sampleDelta : 0; }
    uint32_t GetSubsampleCount(uint32_t i) const { return i < m_entries.size() ? m_entries[i].subsampleCount : 0; }
    Subsample GetSubsample(uint32_t i, uint32_t j) const;

    uint32_t m_entryCount = 0;
    TableVector<Entry> m_entries;
    TableVector<Subsample> m_subsamples;

private:
    int ReadEntries(CBitStreamReader& reader);
};
