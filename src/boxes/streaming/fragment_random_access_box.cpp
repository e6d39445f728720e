#include "boxes/streaming/fragment_random_access_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CFragmentRandomAccessBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("afra")) return -1;
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(1, m_LongIDs) < 0 || reader.ReadBits(1, m_LongOffsets) < 0 ||
        reader.ReadBits(1, m_GlobalEntries) < 0 || reader.ReadBits(5, m_reserved) < 0 ||
        reader.ReadBits(32, m_TimeScale) < 0 || reader.ReadBits(32, m_EntryCount) < 0)
        return -1;
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] LongIDs(1): %ld", static_cast<long>(m_LongIDs));
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] LongOffsets(1): %ld", static_cast<long>(m_LongOffsets));
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] GlobalEntries(1): %ld", static_cast<long>(m_GlobalEntries));
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] Reserved(5): %ld", static_cast<long>(m_reserved));
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] TimeScale(32): %ld", static_cast<long>(m_TimeScale));
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] EntryCount(32): %ld", static_cast<long>(m_EntryCount));

    const uint32_t offsetBits = m_LongOffsets ? 64 : 32;
    const uint32_t idBits = m_LongIDs ? 32 : 16;
    int status = ReadEach(reader, m_EntryCount, 8 + offsetBits / 8, m_localEntries, [&](LocalEntry& e) {
        if (reader.ReadBits(64, e.time) < 0 || reader.ReadBits(offsetBits, e.offset) < 0) return -1;
        CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] AFARENTRY[%ld] Time: %lld, Offset: %lld",
                   static_cast<long>(m_localEntries.size()), static_cast<long long>(e.time),
                   static_cast<long long>(e.offset));
        return 0;
    });
    if (status < 0 || !m_GlobalEntries) return status;

    if (reader.ReadBits(32, m_GlobalEntryCount) < 0) return -1;
    CORVEL_LOG("[CFragmentRandomAccessBox::ParseBox] GlobalEntryCount(32): %ld", static_cast<long>(m_GlobalEntryCount));
    const uint32_t globalBytes = 8 + 2 * (idBits / 8) + 2 * (offsetBits / 8);
    return ReadEach(reader, m_GlobalEntryCount, globalBytes, m_globalEntries, [&](GlobalEntry& e) {
        if (reader.ReadBits(64, e.time) < 0 || reader.ReadBits(idBits, e.segment) < 0 ||
            reader.ReadBits(idBits, e.fragment) < 0 || reader.ReadBits(offsetBits, e.afraOffset) < 0 ||
            reader.ReadBits(offsetBits, e.offsetFromAfra) < 0)
            return -1;
        CORVEL_LOG(
            "[CFragmentRandomAccessBox::ParseBox] GLOBALAFARENTRY[%ld] Time: %lld, Segment: %ld, Fragment: %ld, "
            "AffraOffset: %lld, OffsetFromAfra: %lld ",
            static_cast<long>(m_globalEntries.size()), static_cast<long long>(e.time), static_cast<long>(e.segment),
            static_cast<long>(e.fragment), static_cast<long long>(e.afraOffset),
            static_cast<long long>(e.offsetFromAfra));
        return 0;
    });
}
