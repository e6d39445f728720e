#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/core/box.h"
#include "boxes/sampletable/sample_group_entries.h"

// sbgp: runs of samples mapped to a group description index.
class CSampletoGroupBox : public CFullBox {
public:
    explicit CSampletoGroupBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // Entry i as (sample count << 32) | group description index; 0 past the stored entries.
    uint64_t GetEntry(uint32_t i) const { return i < m_entries.size() ? m_entries[i] : 0; }
    uint32_t GetSampleCount(uint32_t i) const { return static_cast<uint32_t>(GetEntry(i) >> 32); }
    uint32_t GetGroupDescriptionIndex(uint32_t i) const { return static_cast<uint32_t>(GetEntry(i)); }

    uint32_t m_groupingType = 0;
    uint32_t m_groupingTypeParameter = 0;  // version 1 only
    uint32_t m_entryCount = 0;
    std::vector<uint64_t> m_entries;
};

// sgpd: the group descriptions; their class depends on the handler type the
// container gives (0 in a track fragment: records without entries).
class CSampleGroupDescBox : public CFullBox {
public:
    struct Record {
        uint32_t descriptionLength = 0;  // read only in version 1 with default length 0
        std::unique_ptr<ISampleGroupDescriptionEntry> entry;  // null for other handler types
    };
    CSampleGroupDescBox(const CBox& header, uint32_t handlerType) : CFullBox(header), m_handlerType(handlerType) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_records.size(); }
    uint32_t GetDescriptionLength(uint32_t i) const { return i < m_records.size() ? m_records[i].descriptionLength : 0; }
    // Null past the stored records or when the record has no entry.
    const ISampleGroupDescriptionEntry* GetGroupEntry(uint32_t i) const {
        return i < m_records.size() ? m_records[i].entry.get() : nullptr;
    }

    uint32_t m_groupingType = 0;
    uint32_t m_defaultLength = 0;  // version 1 only
    uint32_t m_entryCount = 0;
    uint32_t m_handlerType = 0;
    std::vector<Record> m_records;
};
