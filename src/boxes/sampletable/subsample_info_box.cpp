#include "boxes/sampletable/subsample_info_box.h"

#include "base/log.h"

int CSubSampleInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    const uint32_t sizeBits = m_version == 0 ? 16 : 32;
    // Appended while reading: a count larger than the payload stops at the first missing field.
    for (uint32_t i = 0; i < m_entryCount; ++i) {
        Entry e{};
        if (reader.ReadBits(32, e.sampleDelta) < 0) return -1;
        if (reader.ReadBits(16, e.subsampleCount) < 0) return -1;
        CORVEL_LOG("[CSubSampleInfoBox::ParseBox] [%ld] sample_delta: %ld, subsample_count: %ld, ", static_cast<long>(i),
                   static_cast<long>(e.sampleDelta), static_cast<long>(e.subsampleCount));
        e.firstSubsample = static_cast<uint32_t>(m_subsamples.size());
        m_entries.push_back(e);
        for (uint32_t j = 0; j < e.subsampleCount; ++j) {
            Subsample s{};
            uint32_t priority = 0, discardable = 0;
            if (reader.ReadBits(sizeBits, s.size) < 0 || reader.ReadBits(8, priority) < 0 ||
                reader.ReadBits(8, discardable) < 0 || reader.ReadBits(32, s.reserved) < 0)
                return -1;
            s.priority = static_cast<uint8_t>(priority);
            s.discardable = static_cast<uint8_t>(discardable);
            CORVEL_LOG("    [CSubSampleInfoBox::ParseBox] [%ld]  subsample_size: %ld, subsample_priority: %ld, "
                       "discardable: %ld, reserved: %ld",
                       static_cast<long>(j), static_cast<long>(s.size), static_cast<long>(s.priority),
                       static_cast<long>(s.discardable), static_cast<long>(s.reserved));
            m_subsamples.push_back(s);
            ++m_entries.back().storedSubsamples;
        }
    }
    return 0;
}

CSubSampleInfoBox::Subsample CSubSampleInfoBox::GetSubsample(uint32_t i, uint32_t j) const {
    if (i >= m_entries.size() || j >= m_entries[i].storedSubsamples) return Subsample{};
    return m_subsamples[m_entries[i].firstSubsample + j];
}
