#include "boxes/fragments/random_access_boxes.h"

#include <cinttypes>

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CTrackFragmentRandomAccessbox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_trackID) < 0 || reader.ReadBits(26, m_reserved) < 0 ||
        reader.ReadBits(2, m_lengthSizeOfTrafNum) < 0 || reader.ReadBits(2, m_lengthSizeOfTrunNum) < 0 ||
        reader.ReadBits(2, m_lengthSizeOfSampleNum) < 0 || reader.ReadBits(32, m_numberOfEntry) < 0)
        return -1;
    CORVEL_LOG("[CTrackFragmentRandomAccessbox::ParseBox] track_ID: %ld", static_cast<long>(m_trackID));
    CORVEL_LOG("[CTrackFragmentRandomAccessbox::ParseBox] number_of_entry: %ld", static_cast<long>(m_numberOfEntry));
    // Only version 1 has 64-bit times and offsets.
    const uint32_t wideBits = m_version == 1 ? 64 : 32;
    const uint32_t trafBits = (m_lengthSizeOfTrafNum + 1) * 8, trunBits = (m_lengthSizeOfTrunNum + 1) * 8,
                   sampleBits = (m_lengthSizeOfSampleNum + 1) * 8;
    const uint32_t entryBytes = (2 * wideBits + trafBits + trunBits + sampleBits) / 8;
    return ReadEach(reader, m_numberOfEntry, entryBytes, m_entries, [&](Entry& e) {
        if (reader.ReadBits(wideBits, e.time) < 0 || reader.ReadBits(wideBits, e.moofOffset) < 0 ||
            reader.ReadBits(trafBits, e.trafNumber) < 0 || reader.ReadBits(trunBits, e.trunNumber) < 0 ||
            reader.ReadBits(sampleBits, e.sampleNumber) < 0)
            return -1;
        CORVEL_LOG("[CTrackFragmentRandomAccessbox::ParseBox] ENTRY[%ld] time: %" PRId64 ", moof_offset: %" PRId64
                   ", traf_number: %ld, trun_number: %ld, sample_number: %ld",
                   static_cast<long>(m_entries.size()), static_cast<int64_t>(e.time), static_cast<int64_t>(e.moofOffset),
                   static_cast<long>(e.trafNumber), static_cast<long>(e.trunNumber), static_cast<long>(e.sampleNumber));
        return 0;
    });
}

int CMovieFragmentRandomAccessOffsetBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBits(32, m_size);
}
