#include "boxes/sampletable/sample_dependency_box.h"

int CSampleDependencyBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    for (uint32_t i = 0; i < m_sampleCount; ++i) {
        Entry e{};
        if (reader.ReadBits(16, e.dependencyCount) < 0) return -1;
        e.firstNumber = static_cast<uint32_t>(m_numbers.size());
        m_entries.push_back(e);
        for (uint32_t j = 0; j < e.dependencyCount; ++j) {
            uint32_t number = 0;
            if (reader.ReadBits(16, number) < 0) return -1;
            m_numbers.push_back(static_cast<uint16_t>(number));
            ++m_entries.back().storedNumbers;
        }
    }
    return 0;
}

int32_t CSampleDependencyBox::GetDependencySampleNumber(uint32_t i, uint32_t j) const {
    if (i >= m_entries.size() || j >= m_entries[i].storedNumbers) return -1;
    return m_numbers[m_entries[i].firstNumber + j];
}
