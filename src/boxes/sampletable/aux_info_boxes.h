#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// saiz: the size of each sample's auxiliary information (a default, or one per sample).
class CSaizBox : public CFullBox {
public:
    explicit CSaizBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_sampleInfoSizes.size(); }
    uint32_t GetSampleInfoSize(uint32_t i) const { return i < m_sampleInfoSizes.size() ? m_sampleInfoSizes[i] : 0; }

    uint32_t m_auxInfoType = 0;           // with flags bit 0
    uint32_t m_auxInfoTypeParameter = 0;  // with flags bit 0
    uint32_t m_defaultSampleInfoSize = 0;
    uint32_t m_sampleCount = 0;
    TableVector<uint8_t> m_sampleInfoSizes;  // only when the default is 0
};

// saio: where the auxiliary information lies (32-bit offsets in version 0, else 64).
class CSaioBox : public CFullBox {
public:
    explicit CSaioBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_offsets.size(); }
    uint64_t GetOffset(uint32_t i) const { return i < m_offsets.size() ? m_offsets[i] : 0; }

    uint32_t m_auxInfoType = 0;
    uint32_t m_auxInfoTypeParameter = 0;
    uint32_t m_entryCount = 0;
    TableVector<uint64_t> m_offsets;
};
