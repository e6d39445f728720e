#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// stco (32-bit offsets) and co64 (64-bit offsets): the file offset of each chunk.
class CChunkOffsetBox : public CFullBox {
public:
    explicit CChunkOffsetBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_chunkOffsets.size(); }
    uint64_t GetChunkOffset(uint32_t i) const { return i < m_chunkOffsets.size() ? m_chunkOffsets[i] : 0; }

    uint32_t m_entryCount = 0;
    TableVector<uint64_t> m_chunkOffsets;
};
