#include "boxes/streaming/run_table_boxes.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"
#include "boxes/streaming/terminated_text.h"

namespace {
// `count` zero-terminated modifiers; `owner` names the class in the log.
int ReadQualitySegmentUrlModifiers(CBitStreamReader& reader, uint32_t count, std::vector<std::string>& out,
                                   const char* owner) {
    return ReadEach(reader, count, 1, out, [&](std::string& text) {
        if (ReadZeroTerminated(reader, text) < 0) return -1;
        CORVEL_LOG("[%s::ReadQualitySegmentUrlModifiers] QualitySegmentUrlModifiers[%ld]: %s", owner,
                   static_cast<long>(out.size()), text.c_str());
        return 0;
    });
}
}  // namespace

int CSegmentRunTableBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("asrt")) {
        CORVEL_LOG("[CSegmentRunTableBox::ParseBox] box type is not 'asrt' but %s", TypeText().c_str());
        return -1;
    }
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(8, m_QualityEntryCount) < 0) return -1;
    CORVEL_LOG("[CSegmentRunTableBox::ParseBox] QualityEntryCount: %ld", static_cast<long>(m_QualityEntryCount));
    if (ReadQualitySegmentUrlModifiers(reader, m_QualityEntryCount, m_qualitySegmentUrlModifiers,
                                       "CSegmentRunTableBox") < 0 ||
        reader.ReadBits(32, m_SegmentRunEntryCount) < 0)
        return -1;
    CORVEL_LOG("[CSegmentRunTableBox::ParseBox] SegmentRunEntryCount: %ld", static_cast<long>(m_SegmentRunEntryCount));
    return ReadTable(reader, m_SegmentRunEntryCount, 8, m_entries, [](const uint8_t* p) {
        return Entry{Be32(p), Be32(p + 4)};
    });
}

int CFragmentRunTableBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("afrt")) {
        CORVEL_LOG("[CFragmentRunTableBox::ParseBox] box type is not 'afrt' but %s", TypeText().c_str());
        return -1;
    }
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_TimeScale) < 0 ||
        reader.ReadBits(8, m_QualityEntryCount) < 0)
        return -1;
    CORVEL_LOG("[CFragmentRunTableBox::ParseBox] TimeScale: %ld", static_cast<long>(m_TimeScale));
    CORVEL_LOG("[CFragmentRunTableBox::ParseBox] QualityEntryCount: %ld", static_cast<long>(m_QualityEntryCount));
    if (ReadQualitySegmentUrlModifiers(reader, m_QualityEntryCount, m_qualitySegmentUrlModifiers,
                                       "CFragmentRunTableBox") < 0 ||
        reader.ReadBits(32, m_FragmentEntryCount) < 0)
        return -1;
    CORVEL_LOG("[CFragmentRunTableBox::ParseBox] FragmentEntryCount: %ld", static_cast<long>(m_FragmentEntryCount));
    // An entry takes 16 bytes, one more when its duration is 0 (the discontinuity indicator).
    return ReadEach(reader, m_FragmentEntryCount, 16, m_entries, [&](Entry& e) {
        if (reader.ReadBits(32, e.firstFragment) < 0 || reader.ReadBits(64, e.firstFragmentTimestamp) < 0 ||
            reader.ReadBits(32, e.fragmentDuration) < 0)
            return -1;
        if (e.fragmentDuration == 0 && reader.ReadBits(8, e.discontinuityIndicator) < 0) return -1;
        CORVEL_LOG(
            "[CFragmentRunTableBox::ParseBox] FRAGMENTRUNENTRY[%ld] FirstFragment: %ld, FirstFragmentTimestamp: "
            "%lld, FragmentDuration: %ld, DiscontinuityIndicator: %ld",
            static_cast<long>(m_entries.size()), static_cast<long>(e.firstFragment),
            static_cast<long long>(e.firstFragmentTimestamp), static_cast<long>(e.fragmentDuration),
            static_cast<long>(e.discontinuityIndicator));
        return 0;
    });
}
