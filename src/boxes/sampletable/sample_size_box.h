#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"
#include "boxes/sampletable/table_view.h"

// stsz: one size for all samples, or one size per sample (sample size 0).
class CSampleSizeBox : public CFullBox {
public:
    explicit CSampleSizeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetSampleSize() const { return m_sampleSize; }
    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_entrySizes.size(); }
    // The stored size of sample i; 0 at or past the stored sizes (always 0 with a constant size).
    uint64_t GetEntrySize(uint32_t i) const { return m_entrySizes.At(i); }

    uint32_t m_sampleSize = 0;
    uint32_t m_sampleCount = 0;
    TableView<uint32_t> m_entrySizes{DecodeSize};  // 32 bits in the file; widened by GetEntrySize

private:
    static uint32_t DecodeSize(const uint8_t* p, uint32_t);
};

// stz2: per-sample sizes of 4, 8 or 16 bits.
class CCompactSampleSizeBox : public CFullBox {
public:
    explicit CCompactSampleSizeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetFieldSize() const { return m_fieldSize; }
    uint32_t GetSampleCount() const { return m_sampleCount; }
    size_t GetStoredEntryCount() const { return m_entrySizes.size(); }
    uint32_t GetEntrySize(uint32_t i) const { return i < m_entrySizes.size() ? m_entrySizes[i] : 0; }

    uint32_t m_reserved = 0;  // 24 bits
    uint32_t m_fieldSize = 0;
    uint32_t m_sampleCount = 0;
    TableVector<uint32_t> m_entrySizes;
};

// The sample count of a sample table's size box: stsz, or stz2 when there is no
// stsz (or, with stszOnly, 0 then); 0 when neither has been parsed.
uint32_t SampleCountOfSizeBox(const CBox& stbl, bool stszOnly);
