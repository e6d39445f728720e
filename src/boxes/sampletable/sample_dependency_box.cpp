#include "boxes/sampletable/sample_dependency_box.h"

#include "boxes/sampletable/table_reader.h"

int CSampleDependencyBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Every count and number takes 2 bytes: the payload bounds both tables, and their
    // records never move once read.
    const uint64_t fit = RecordsThatFit(reader, m_sampleCount, 2);
    m_entries.reserve(fit);
    m_numbers.reserve(reader.PresentBytes() / 2);
    for (uint32_t i = 0; i < m_sampleCount; ++i) {
        if (i >= fit) return -1;
        Entry& e = m_entries.emplace_back();
        if (reader.ReadBits(16, e.dependencyCount) < 0) {
            m_entries.pop_back();
            return -1;
        }
        e.firstNumber = static_cast<uint32_t>(m_numbers.size());
        for (uint32_t j = 0; j < e.dependencyCount; ++j) {
            if (m_numbers.size() == m_numbers.capacity()) return -1;  // more than the payload holds
            if (reader.ReadBits(16, m_numbers.emplace_back()) < 0) {
                m_numbers.pop_back();
                return -1;
            }
            ++e.storedNumbers;
        }
    }
    return 0;
}

int32_t CSampleDependencyBox::GetDependencySampleNumber(uint32_t i, uint32_t j) const {
    if (i >= m_entries.size() || j >= m_entries[i].storedNumbers) return -1;
    return static_cast<int32_t>(m_numbers[m_entries[i].firstNumber + j]);
}
