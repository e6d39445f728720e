#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"
#include "boxes/sampletable/table_view.h"

// sdtp: per-sample dependency flags. The payload has no count: the container sets
// it (from stsz/stz2 in a sample table, from trun in a track fragment) before the parse.
class CSampleDependencyTypeBox : public CFullBox {
public:
    struct Entry {
        uint8_t reserved;  // is_leading in newer files
        uint8_t sampleDependsOn;
        uint8_t sampleIsDependedOn;
        uint8_t sampleHasRedundancy;
    };
    explicit CSampleDependencyTypeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    void SetSampleCount(uint32_t count);
    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // Each 0 at or past the stored entries.
    uint32_t GetReserved(uint32_t i) const { return m_entries.At(i).reserved; }
    uint32_t GetSampleDependsOn(uint32_t i) const { return m_entries.At(i).sampleDependsOn; }
    uint32_t GetSampleIsDependedOn(uint32_t i) const { return m_entries.At(i).sampleIsDependedOn; }
    uint32_t GetSampleHasRedundancy(uint32_t i) const { return m_entries.At(i).sampleHasRedundancy; }

    uint32_t m_sampleCount = 0;
    TableView<Entry> m_entries{DecodeEntry};

private:
    static Entry DecodeEntry(const uint8_t* p, uint32_t);
};

// stdp: a 16-bit priority per sample; the count comes from the sample table's stsz.
class CDegradationPriorityBox : public CFullBox {
public:
    explicit CDegradationPriorityBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    void SetSampleCount(uint32_t count) { m_sampleCount = count; }
    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_priorities.size(); }
    uint32_t GetPriority(uint32_t i) const { return i < m_priorities.size() ? m_priorities[i] : 0; }

    uint32_t m_sampleCount = 0;
    TableVector<uint16_t> m_priorities;
};
