#include "boxes/sampletable/aux_info_boxes.h"

#include "boxes/sampletable/table_reader.h"

namespace {
// aux_info_type and its parameter are present when flags bit 0 is set.
int ReadAuxInfoType(CBitStreamReader& reader, uint32_t flags, uint32_t& type, uint32_t& parameter) {
    if (!(flags & 1)) return 0;
    if (reader.ReadBits(32, type) < 0) return -1;
    return reader.ReadBits(32, parameter);
}
}  // namespace

int CSaizBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (ReadAuxInfoType(reader, m_flags, m_auxInfoType, m_auxInfoTypeParameter) < 0) return -1;
    if (reader.ReadBits(8, m_defaultSampleInfoSize) < 0) return -1;
    if (reader.ReadBits(32, m_sampleCount) < 0) return -1;
    if (m_defaultSampleInfoSize != 0) return 0;
    return ReadTable(reader, m_sampleCount, 1, m_sampleInfoSizes, [](const uint8_t* p) { return *p; });
}

int CSaioBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (ReadAuxInfoType(reader, m_flags, m_auxInfoType, m_auxInfoTypeParameter) < 0) return -1;
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    if (m_version == 0)
        return ReadTable(reader, m_entryCount, 4, m_offsets, [](const uint8_t* p) { return uint64_t{Be32(p)}; });
    return ReadTable(reader, m_entryCount, 8, m_offsets, [](const uint8_t* p) { return Be64(p); });
}
