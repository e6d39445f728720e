#include "boxes/fragments/track_fragment_header_box.h"

#include <cinttypes>

#include "base/log.h"

int CTrackFragmentHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CTrackFragmentHeaderBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_trackId) < 0) return -1;
    CORVEL_LOG("[Track Fragment Header Box] track_ID - %u", m_trackId);
    if (m_flags & kBaseDataOffsetPresent) {
        if (reader.Read64(m_baseDataOffset) < 0) return -1;
        CORVEL_LOG("[Track Fragment Header Box] base_data_offset - %" PRId64, static_cast<int64_t>(m_baseDataOffset));
    }
    if (m_flags & kSampleDescriptionIndexPresent) {
        if (reader.ReadBits(32, m_sampleDescriptionIndex) < 0) return -1;
        CORVEL_LOG("[Track Fragment Header Box] sample_description_index - %u", m_sampleDescriptionIndex);
    }
    if (m_flags & kDefaultDurationPresent) {
        if (reader.ReadBits(32, m_defaultSampleDuration) < 0) return -1;
        CORVEL_LOG("[Track Fragment Header Box] default_sample_duration - %u", m_defaultSampleDuration);
    }
    if (m_flags & kDefaultSizePresent) {
        if (reader.ReadBits(32, m_defaultSampleSize) < 0) return -1;
        CORVEL_LOG("[Track Fragment Header Box] default_sample_size - %u", m_defaultSampleSize);
    }
    if (m_flags & kDefaultFlagsPresent) {
        if (reader.ReadBits(32, m_defaultSampleFlags) < 0) return -1;
        CORVEL_LOG("[Track Fragment Header Box] default_sample_flags - 0x%x", m_defaultSampleFlags);
    }
    return 0;
}

int CTfdtBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Version 0 is 32 bits; every other version 64 (unlike mehd, which tests for 1).
    if (reader.ReadBits(m_version == 0 ? 32 : 64, m_baseMediaDecodeTime) < 0) return -1;
    CORVEL_LOG("[CTfdtBox::ParseBox] baseMediaDecodeTime: %" PRId64, static_cast<int64_t>(m_baseMediaDecodeTime));
    return 0;
}
