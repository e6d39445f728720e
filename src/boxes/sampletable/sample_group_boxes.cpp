#include "boxes/sampletable/sample_group_boxes.h"

#include <algorithm>

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CSampletoGroupBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_groupingType) < 0) return -1;
    CORVEL_LOG("[CSampletoGroupBox::ParseBox] grouping_type: %ld", static_cast<long>(m_groupingType));
    if (m_version == 1 && reader.ReadBits(32, m_groupingTypeParameter) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    return ReadTable(reader, m_entryCount, 8, m_entries, [](const uint8_t* p) { return Be64(p); });
}

namespace {
using Kind = CSampleGroupDescBox::EntryKind;

// The group entry class for a handler type and a grouping type.
Kind EntryKindFor(uint32_t handlerType, uint32_t groupingType) {
    // A roll distance is laid out alike in every kind of track, a fragment's included.
    if (groupingType == FourCC("roll") || groupingType == FourCC("prol")) return Kind::RollRecovery;
    if (groupingType == FourCC("seig")) return Kind::SampleEncryption;
    switch (handlerType) {
        case FourCC("hint"):
            return Kind::Hint;
        case FourCC("soun"):
            return Kind::Audio;
        case FourCC("vide"):
            switch (groupingType) {
                case FourCC("tscl"):
                case FourCC("tlas"):
                    return Kind::TemporalLayer;
                case FourCC("avll"):
                    return Kind::AVCLayer;
                case FourCC("avss"):
                    return Kind::AVCSubSequence;
                default:
                    return Kind::Visual;
            }
        default:
            return Kind::None;
    }
}

std::unique_ptr<ISampleGroupDescriptionEntry> MakeEntryWithFields(Kind kind) {
    switch (kind) {
        case Kind::TemporalLayer:
            return std::make_unique<CTemproalLayerEntry>();
        case Kind::AVCLayer:
            return std::make_unique<CAVCLayerEntry>();
        case Kind::AVCSubSequence:
            return std::make_unique<CAVCSubSequenceEntry>();
        case Kind::RollRecovery:
            return std::make_unique<CRollRecoveryEntry>();
        case Kind::SampleEncryption:
            return std::make_unique<CSampleEncryptionGroupEntry>();
        default:
            return nullptr;
    }
}
}  // namespace

const ISampleGroupDescriptionEntry* CSampleGroupDescBox::GetGroupEntry(uint32_t i) const {
    static const IVisualSampleGroupEntry kVisual;
    static const IAudioSampleGroupEntry kAudio;
    static const IHintSampleGroupEntry kHint;
    if (i >= m_records.size()) return nullptr;
    switch (m_records[i].kind) {
        case Kind::None:
            return nullptr;
        case Kind::Visual:
            return &kVisual;
        case Kind::Audio:
            return &kAudio;
        case Kind::Hint:
            return &kHint;
        default:
            return m_records[i].entry.get();
    }
}

int CSampleGroupDescBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_groupingType) < 0) return -1;
    if (m_version == 1) {
        if (reader.ReadBits(32, m_defaultLength) < 0) return -1;
        CORVEL_LOG("[CSampleGroupDescBox::ParseBox] default_length: %ld", static_cast<long>(m_defaultLength));
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    CORVEL_LOG("[CSampleGroupDescBox::ParseBox] entry_count: %ld", static_cast<long>(m_entryCount));
    const Kind kind = EntryKindFor(m_handlerType, m_groupingType);
    // Generic entries read none of their bytes, so the reader alone would never stop a
    // hostile count: every entry takes at least one byte in the file, so a count beyond
    // the payload's bytes fails the box after that many records.
    const uint64_t mostRecords = reader.PresentBytes();
    m_records.reserve(std::min<uint64_t>(m_entryCount, mostRecords));  // records never move once read
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        if (i >= mostRecords) return -1;
        const uint64_t recordStart = reader.FileBit();
        Record& record = m_records.emplace_back();
        record.kind = kind;
        if (m_version == 1 && m_defaultLength == 0) {
            if (reader.ReadBits(32, record.descriptionLength) < 0) {
                m_records.pop_back();
                return -1;
            }
            CORVEL_LOG("[CSampleGroupDescBox::ParseBox] description_length: %ld",
                       static_cast<long>(record.descriptionLength));
        }
        const uint64_t entryStart = reader.BitPosition;
        record.entry = MakeEntryWithFields(kind);
        if (record.entry) {
            int status = record.entry->ParseBox(reader);
            if (status < 0) {
                m_records.pop_back();
                return status;
            }
        }
        // Version 1 gives each entry's length: what its class does not read is passed
        // over, so the next record starts where the file puts it.
        const uint64_t length = m_version == 1 ? (m_defaultLength ? m_defaultLength : record.descriptionLength) : 0;
        const uint64_t read = (reader.BitPosition - entryStart) / 8;
        if (length > read) reader.SkipBits(std::min<uint64_t>(length - read, reader.PresentBytes()) * 8);
        reader.NoteSince(&record.entry, recordStart);
    }
    return 0;
}
