#include "boxes/fragments/segment_index_boxes.h"

#include <cinttypes>

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

namespace {
// sidx and prft read 64-bit values for every version but 0.
uint32_t WideBits(uint32_t version) { return version == 0 ? 32 : 64; }
}  // namespace

int CSegmentIndexBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_referenceID) < 0 || reader.ReadBits(32, m_timescale) < 0) return -1;
    CORVEL_LOG("[CSegmentIndexBox::ParseBox] reference_ID: %ld", static_cast<long>(m_referenceID));
    CORVEL_LOG("[CSegmentIndexBox::ParseBox] timescale: %ld", static_cast<long>(m_timescale));
    const uint32_t bits = WideBits(m_version);
    if (reader.ReadBits(bits, m_earliestPresentationTime) < 0 || reader.ReadBits(bits, m_firstOffset) < 0) return -1;
    CORVEL_LOG("[CSegmentIndexBox::ParseBox] earliest_presentation_time: %" PRId64,
               static_cast<int64_t>(m_earliestPresentationTime));
    if (reader.ReadBits(16, m_reserved) < 0 || reader.ReadBits(16, m_referenceCount) < 0) return -1;
    CORVEL_LOG("[CSegmentIndexBox::ParseBox] reference_count: %ld", static_cast<long>(m_referenceCount));
    return ReadEach(reader, m_referenceCount, 12, m_references, [&](Reference& r) {
        if (reader.ReadBits(1, r.referenceType) < 0 || reader.ReadBits(31, r.referencedSize) < 0 ||
            reader.ReadBits(32, r.subsegmentDuration) < 0 || reader.ReadBits(1, r.startsWithSAP) < 0 ||
            reader.ReadBits(3, r.SAPType) < 0 || reader.ReadBits(28, r.SAPDeltaTime) < 0)
            return -1;
        CORVEL_LOG("[CSegmentIndexBox::ParseBox] [%ld]: reference_type: %ld, referenced_size: %ld, subsegment_duration: "
                   "%ld, starts_with_SAP: %ld, SAP_type: %ld, SAP_delta_time: %ld",
                   static_cast<long>(m_references.size() - 1), static_cast<long>(r.referenceType),
                   static_cast<long>(r.referencedSize), static_cast<long>(r.subsegmentDuration),
                   static_cast<long>(r.startsWithSAP), static_cast<long>(r.SAPType), static_cast<long>(r.SAPDeltaTime));
        return 0;
    });
}

int CSubsegmentIndexBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_subsegmentCount) < 0) return -1;
    CORVEL_LOG("[CSubsegmentIndexBox::ParseBox] subsegment_count: %ld", static_cast<long>(m_subsegmentCount));
    // A subsegment takes at least its 4-byte count, a range 4 bytes: the payload bounds both.
    return ReadEach(reader, m_subsegmentCount, 4, m_subsegments, [&](Subsegment& s) {
        if (reader.ReadBits(32, s.rangesCount) < 0) return -1;
        return ReadEach(reader, s.rangesCount, 4, s.ranges, [&](Range& r) {
            return reader.ReadBits(8, r.level) < 0 || reader.ReadBits(24, r.rangeSize) < 0 ? -1 : 0;
        });
    });
}

int CProducerReferenceTimeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_referenceTrackID) < 0) return -1;
    CORVEL_LOG("[CProducerReferenceTimeBox::ParseBox] reference_track_ID: %ld", static_cast<long>(m_referenceTrackID));
    if (reader.ReadBits(64, m_ntpTimestamp) < 0) return -1;
    CORVEL_LOG("[CProducerReferenceTimeBox::ParseBox] ntp_timestamp: %" PRId64, static_cast<int64_t>(m_ntpTimestamp));
    if (reader.ReadBits(WideBits(m_version), m_mediaTime) < 0) return -1;
    CORVEL_LOG("[CProducerReferenceTimeBox::ParseBox] media_time: %" PRId64, static_cast<int64_t>(m_mediaTime));
    return 0;
}
