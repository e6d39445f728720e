#include "boxes/sampletable/sample_dependency_type_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

void CSampleDependencyTypeBox::SetSampleCount(uint32_t count) {
    CORVEL_LOG("[CSampleDependencyTypeBox::SetSampleCount] sample_count : %ld", static_cast<long>(count));
    m_sampleCount = count;
}

int CSampleDependencyTypeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return m_entries.Read(reader, m_sampleCount, 1);
}

CSampleDependencyTypeBox::Entry CSampleDependencyTypeBox::DecodeEntry(const uint8_t* p, uint32_t) {
    const uint8_t b = *p;
    return {uint8_t(b >> 6), uint8_t((b >> 4) & 3), uint8_t((b >> 2) & 3), uint8_t(b & 3)};
}

int CDegradationPriorityBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return ReadTable(reader, m_sampleCount, 2, m_priorities, [](const uint8_t* p) { return uint16_t(Be16(p)); });
}
