#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// sdep: for each sample, the samples it depends on. The payload has no count: the
// sample table sets it from stsz (or stz2) before the parse. The numbers of all
// samples are kept in one array.
class CSampleDependencyBox : public CFullBox {
public:
    struct Entry {
        uint32_t dependencyCount;  // 16 bits in the file
        uint32_t firstNumber;      // index into m_numbers
        uint32_t storedNumbers;    // fewer than dependencyCount only when the payload ended early
    };
    explicit CSampleDependencyBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    void SetSampleCount(uint32_t count) { m_sampleCount = count; }
    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // 0 at or past the stored samples.
    uint32_t GetDependencyCount(uint32_t i) const { return i < m_entries.size() ? m_entries[i].dependencyCount : 0; }
    // Dependency number j of sample i; -1 when either index is out of range.
    int32_t GetDependencySampleNumber(uint32_t i, uint32_t j) const;

    uint32_t m_sampleCount = 0;
    TableVector<Entry> m_entries;
    TableVector<uint32_t> m_numbers;  // 16 bits each in the file
};
