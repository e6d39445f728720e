#include "boxes/sampletable/chunk_offset_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CChunkOffsetBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CChunkOffsetBox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    const uint32_t bytes = m_type == FourCC("stco") ? 4 : 8;
    return m_chunkOffsets.Read(reader, m_entryCount, bytes, bytes);
}

uint64_t CChunkOffsetBox::DecodeOffset(const uint8_t* p, uint32_t bytes) { return bytes == 4 ? Be32(p) : Be64(p); }
