#include "boxes/presentation/movie_header_boxes.h"

#include "base/log.h"

namespace {
// Reads each 32-bit field in turn; stops at the first that fails.
int ReadWords(CBitStreamReader& reader, uint32_t* words, size_t n, uint32_t bits = 32) {
    for (size_t i = 0; i < n; ++i)
        if (reader.ReadBits(bits, words[i]) < 0) return -1;
    return 0;
}

// Creation and modification time: 64 bits in version 1, 32 otherwise.
int ReadTimes(CBitStreamReader& reader, uint32_t version, uint64_t& creation, uint64_t& modification) {
    if (ReadVersionedValue(reader, version, creation) < 0) return -1;
    return ReadVersionedValue(reader, version, modification);
}
}  // namespace

int CMovieHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CMovieHeaderBox::ParseBox] Fail to parse");
        return -1;
    }
    if (ReadTimes(reader, m_version, m_creationTime, m_modificationTime) < 0) return -1;
    if (reader.ReadBits(32, m_timescale) < 0) return -1;
    CORVEL_LOG("[MovieHeaderBox] Time Scale :(%u)", m_timescale);
    if (ReadVersionedValue(reader, m_version, m_duration) < 0) return -1;
    CORVEL_LOG("[MovieHeaderBox] Duration :(%llu)", static_cast<unsigned long long>(m_duration));
    if (reader.ReadBits(32, m_rate) < 0 || reader.ReadBits(16, m_volume) < 0 || reader.ReadBits(16, m_reserved16) < 0)
        return -1;
    if (ReadWords(reader, m_reserved32, 2) < 0 || ReadWords(reader, m_matrix, 9) < 0 ||
        ReadWords(reader, m_preDefined, 6) < 0)
        return -1;
    if (reader.ReadBits(32, m_nextTrackID) < 0) return -1;
    CORVEL_LOG("[MovieHeaderBox] Next Track ID :(%u)", m_nextTrackID);
    return 0;
}

int CTrackHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CTrackHeaderBox::ParseBox] Fail to parse");
        return -1;
    }
    if (ReadTimes(reader, m_version, m_creationTime, m_modificationTime) < 0) return -1;
    if (reader.ReadBits(32, m_trackID) < 0) return -1;
    CORVEL_LOG("[TrackHeaderBox] Track ID :(%ld)", static_cast<long>(m_trackID));
    if (reader.ReadBits(32, m_reserved1) < 0) return -1;
    if (ReadVersionedValue(reader, m_version, m_duration) < 0) return -1;
    if (ReadWords(reader, m_reserved2, 2) < 0) return -1;
    if (reader.ReadBits(16, m_layer) < 0 || reader.ReadBits(16, m_alternateGroup) < 0 ||
        reader.ReadBits(16, m_volume) < 0 || reader.ReadBits(16, m_reserved3) < 0)
        return -1;
    if (ReadWords(reader, m_matrix, 9) < 0) return -1;
    if (reader.ReadBits(32, m_width) < 0 || reader.ReadBits(32, m_height) < 0) return -1;
    CORVEL_LOG("[TrackHeaderBox] Width :(%u), Height :(%u)", m_width >> 16, m_height >> 16);
    return 0;
}

int CMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CMediaHeaderBox::ParseBox] Parsing Error");
        return -1;
    }
    if (ReadTimes(reader, m_version, m_creationTime, m_modificationTime) < 0) return -1;
    if (reader.ReadBits(32, m_timescale) < 0) return -1;
    if (ReadVersionedValue(reader, m_version, m_duration) < 0) return -1;
    if (reader.ReadBits(1, m_pad) < 0 || ReadWords(reader, m_language, 3, 5) < 0) return -1;
    for (uint32_t code : m_language) CORVEL_LOG("[MediaHeaderBox] Language :(%d)", static_cast<int>(code));
    return reader.ReadBits(16, m_preDefined);
}
