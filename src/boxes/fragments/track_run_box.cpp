#include "boxes/fragments/track_run_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

namespace {
// Reads a per-sample field when its flag bit is set; leaves it 0 otherwise.
int ReadOptional(CBitStreamReader& reader, uint32_t flags, uint32_t bit, uint32_t& out) {
    return (flags & bit) ? reader.ReadBits(32, out) : 0;
}
}  // namespace

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
    // The count comes from the file: samples are read into place, as many as the payload
    // can hold, so a count larger than the payload stops at the first failed read.
    const uint32_t fieldBytes = 4 * ((m_flags & kDurationPresent ? 1 : 0) + (m_flags & kSizePresent ? 1 : 0) +
                                     (m_flags & kFlagsPresent ? 1 : 0) + (m_flags & kCompositionOffsetPresent ? 1 : 0));
    if (fieldBytes == 0) return 0;  // no field per sample: nothing to read
    return ReadEach(reader, m_sampleCount, fieldBytes, m_samples, [&](Sample& s) {
        if (ReadOptional(reader, m_flags, kDurationPresent, s.duration) < 0 ||
            ReadOptional(reader, m_flags, kSizePresent, s.size) < 0 ||
            ReadOptional(reader, m_flags, kFlagsPresent, s.flags) < 0 ||
            ReadOptional(reader, m_flags, kCompositionOffsetPresent, s.compositionTimeOffset) < 0)
            return -1;
        const size_t i = m_samples.size() - 1;
        if (i < 10)
            CORVEL_LOG("[Track Run Box] Sample Info[%u] -  ( duration: %u, size: %u, flags: %u, comp_time_offset: %d )",
                       static_cast<uint32_t>(i), s.duration, s.size, s.flags, static_cast<int32_t>(s.compositionTimeOffset));
        return 0;
    });
}