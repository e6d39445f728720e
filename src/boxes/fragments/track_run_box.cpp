#include "boxes/fragments/track_run_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CTrackRunBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CTrackRunBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    CORVEL_LOG("[Track Run Box] sample_count - %u", m_sampleCount);
    if (m_flags & kDataOffsetPresent) {
        if (reader.ReadBits(32, m_dataOffset) < 0) return -1;
        CORVEL_LOG("[Track Run Box] data_offset - %d", static_cast<int32_t>(m_dataOffset));
    }
    if (m_flags & kFirstSampleFlagsPresent) {
        if (reader.ReadBits(32, m_firstSampleFlags) < 0) return -1;
        CORVEL_LOG("[Track Run Box] first_sample_flags - 0x%x", m_firstSampleFlags);
    }
    // The count comes from the file: only the samples the payload holds are taken.
    const uint32_t fieldBytes = 4 * ((m_flags & kDurationPresent ? 1 : 0) + (m_flags & kSizePresent ? 1 : 0) +
                                     (m_flags & kFlagsPresent ? 1 : 0) + (m_flags & kCompositionOffsetPresent ? 1 : 0));
    if (fieldBytes == 0) return 0;  // no field per sample: nothing to read
    return m_samples.Read(reader, m_sampleCount, fieldBytes, m_flags);
}

CTrackRunBox::Sample CTrackRunBox::DecodeSample(const uint8_t* p, uint32_t flags) {
    Sample s;
    for (auto [bit, field] : {std::pair{kDurationPresent, &s.duration}, std::pair{kSizePresent, &s.size},
                              std::pair{kFlagsPresent, &s.flags}, std::pair{kCompositionOffsetPresent, &s.compositionTimeOffset}})
        if (flags & bit) {
            *field = Be32(p);
            p += 4;
        }
    return s;
}