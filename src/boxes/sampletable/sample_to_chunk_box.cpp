#include "boxes/sampletable/sample_to_chunk_box.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

int CSampleToChunkbox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CSampleToChunkbox::ParseBox] Fail to parse");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    return m_entries.Read(reader, m_entryCount, 12);
}

CSampleToChunkbox::Entry CSampleToChunkbox::DecodeEntry(const uint8_t* p, uint32_t) {
    return {Be32(p), Be32(p + 4), Be32(p + 8)};
}
uint32_t CSampleToChunkbox::GetFirstChunk(uint32_t i) const { return m_entries.At(i).firstChunk; }
uint32_t CSampleToChunkbox::GetSamplesPerChunk(uint32_t i) const { return m_entries.At(i).samplesPerChunk; }
uint32_t CSampleToChunkbox::GetSampleDescriptionIndex(uint32_t i) const { return m_entries.At(i).sampleDescriptionIndex; }
