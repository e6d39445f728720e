#include "boxes/sampletable/chunk_offset_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CChunkOffsetBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CChunkOffsetBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    if (m_type == FourCC("stco"))
        return ReadTable(reader, m_entryCount, 4, m_chunkOffsets, [](const uint8_t* p) { return uint64_t{Be32(p)}; });
    return ReadTable(reader, m_entryCount, 8, m_chunkOffsets, [](const uint8_t* p) { return Be64(p); });
}
