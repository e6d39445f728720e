#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_view.h"

// stco (32-bit offsets) and co64 (64-bit offsets): the file offset of each chunk.
class CChunkOffsetBox : public CFullBox {
public:
    explicit CChunkOffsetBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_chunkOffsets.size(); }
    uint64_t GetChunkOffset(uint32_t i) const { return m_chunkOffsets.At(i); }

    uint32_t m_entryCount = 0;
    TableView<uint64_t> m_chunkOffsets{DecodeOffset};  // 32 bits (stco) or 64 (co64) in the file

private:
    static uint64_t DecodeOffset(const uint8_t* p, uint32_t bytes);
};
