#include "boxes/fragments/movie_extends_boxes.h"

#include <cinttypes>

#include "base/log.h"

int CMovieExtendsHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Only version 1 carries a 64-bit duration; any other version reads 32 bits.
    if (ReadVersionedValue(reader, m_version, m_fragmentDuration) < 0) return -1;
    CORVEL_LOG("[CMovieExtendsHeaderBox::ParseBox] fragment_duration: %" PRId64,
               static_cast<int64_t>(m_fragmentDuration));
    return 0;
}

int CTrackExtendsBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CTrackExtendsBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_trackId) < 0) return -1;
    CORVEL_LOG("[Track Extens Box] track ID - %u", m_trackId);
    if (reader.ReadBits(32, m_defaultSampleDescriptionIndex) < 0) return -1;
    CORVEL_LOG("[Track Extens Box] default_sample_description_index - %u", m_defaultSampleDescriptionIndex);
    if (reader.ReadBits(32, m_defaultSampleDuration) < 0) return -1;
    CORVEL_LOG("[Track Extens Box] default_sample_duration - %u", m_defaultSampleDuration);
    if (reader.ReadBits(32, m_defaultSampleSize) < 0) return -1;
    CORVEL_LOG("[Track Extens Box] sample_size - %u", m_defaultSampleSize);
    if (reader.ReadBits(32, m_defaultSampleFlags) < 0) return -1;
    CORVEL_LOG("[Track Extens Box] sample_flags - %u", m_defaultSampleFlags);
    return 0;
}
