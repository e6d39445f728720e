#include "boxes/presentation/edit_list_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CEditListBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    CORVEL_LOG("[CEditListBox::ParseBox] entry_count: %ld", static_cast<long>(m_entryCount));
    const uint32_t timeBits = m_version == 1 ? 64 : 32;
    // Bytes after the last edit stay unread.
    return ReadEach(reader, m_entryCount, timeBits / 4 + 4, m_edits, [&](Edit& e) {
        if (reader.ReadBits(timeBits, e.segmentDuration) < 0 || reader.ReadBits(timeBits, e.mediaTime) < 0 ||
            reader.ReadBits(16, e.mediaRateInteger) < 0 || reader.ReadBits(16, e.mediaRateFraction) < 0)
            return -1;
        return 0;
    });
}

int64_t CEditListBox::GetMediaTime(uint32_t i) const {
    const uint64_t raw = GetEdit(i).mediaTime;
    return m_version == 1 ? static_cast<int64_t>(raw) : static_cast<int32_t>(static_cast<uint32_t>(raw));
}
