#include "boxes/sampletable/subsample_info_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CSubSampleInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    // The entries and their sub-samples lie interleaved: the table's span covers both.
    const uint64_t tableStart = reader.FileBit();
    const int status = ReadEntries(reader);
    reader.NoteSince(&m_entries, tableStart);
    return status;
}

int CSubSampleInfoBox::ReadEntries(CBitStreamReader& reader) {
    const uint32_t sizeBits = m_version == 0 ? 16 : 32;
    // An entry takes at least 6 bytes, a sub-sample at least 8: the payload bounds both
    // tables, and their records never move once read.
    const uint64_t fit = RecordsThatFit(reader, m_entryCount, 6);
    m_entries.reserve(fit);
    m_subsamples.reserve(reader.PresentBytes() / 8);
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        if (i >= fit) return -1;
        Entry& e = m_entries.emplace_back();
        if (reader.ReadBits(32, e.sampleDelta) < 0 || reader.ReadBits(16, e.subsampleCount) < 0) {
            m_entries.pop_back();
            return -1;
        }
        CORVEL_LOG("[CSubSampleInfoBox::ParseBox] [%ld] sample_delta: %ld, subsample_count: %ld, ", static_cast<long>(i),
                   static_cast<long>(e.sampleDelta), static_cast<long>(e.subsampleCount));
        e.firstSubsample = static_cast<uint32_t>(m_subsamples.size());
        for (uint32_t j = 0; j < e.subsampleCount; ++j) {
            if (m_subsamples.size() == m_subsamples.capacity()) return -1;  // more than the payload holds
            Subsample& s = m_subsamples.emplace_back();
            if (reader.ReadBits(sizeBits, s.size) < 0 || reader.ReadBits(8, s.priority) < 0 ||
                reader.ReadBits(8, s.discardable) < 0 || reader.ReadBits(32, s.reserved) < 0) {
                m_subsamples.pop_back();
                return -1;
            }
            CORVEL_LOG("    [CSubSampleInfoBox::ParseBox] [%ld]  subsample_size: %ld, subsample_priority: %ld, "
                       "discardable: %ld, reserved: %ld",
                       static_cast<long>(j), static_cast<long>(s.size), static_cast<long>(s.priority),
                       static_cast<long>(s.discardable), static_cast<long>(s.reserved));
            ++e.storedSubsamples;
        }
    }
    return 0;
}

CSubSampleInfoBox::Subsample CSubSampleInfoBox::GetSubsample(uint32_t i, uint32_t j) const {
    if (i >= m_entries.size() || j >= m_entries[i].storedSubsamples) return Subsample{};
    return m_subsamples[m_entries[i].firstSubsample + j];
}
