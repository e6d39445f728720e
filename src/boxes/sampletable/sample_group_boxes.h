#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"
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
    TableVector<uint64_t> m_entries;
};

// sgpd: the group descriptions; their class depends on the handler type the
// container gives (0 in a track fragment: records without entries).
class CSampleGroupDescBox : public CFullBox {
public:
    // The group entry class of a record. The generic kinds have no fields and share
    // one instance each, so a long list of them costs no allocation per record.
    enum class EntryKind : uint8_t { None, Visual, Audio, Hint, AVCSubSequence, AVCLayer, TemporalLayer, RollRecovery,
                                  SampleEncryption };
    struct Record {
        uint32_t descriptionLength = 0;  // read only in version 1 with default length 0
        EntryKind kind = EntryKind::None;  // None for other handler types (a track fragment's sgpd)
        std::unique_ptr<ISampleGroupDescriptionEntry> entry;  // the entries with fields
    };
    CSampleGroupDescBox(const CBox& header, uint32_t handlerType) : CFullBox(header), m_handlerType(handlerType) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_records.size(); }
    uint32_t GetDescriptionLength(uint32_t i) const { return i < m_records.size() ? m_records[i].descriptionLength : 0; }
    // Null past the stored records or when the record has no entry.
    const ISampleGroupDescriptionEntry* GetGroupEntry(uint32_t i) const;
    EntryKind GetEntryKind(uint32_t i) const { return i < m_records.size() ? m_records[i].kind : EntryKind::None; }

    uint32_t m_groupingType = 0;
    uint32_t m_defaultLength = 0;  // version 1 only
    uint32_t m_entryCount = 0;
    uint32_t m_handlerType = 0;
    std::vector<Record> m_records;
};
