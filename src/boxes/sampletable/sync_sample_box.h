#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"
#include "boxes/sampletable/table_view.h"

// stss: the numbers of the random access samples.
class CSyncSampleBox : public CFullBox {
public:
    explicit CSyncSampleBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_sampleNumbers.size(); }
    uint32_t GetSampleNumber(uint32_t i) const { return m_sampleNumbers.At(i); }

    uint32_t m_entryCount = 0;
    TableView<uint32_t> m_sampleNumbers{DecodeNumber};

private:
    static uint32_t DecodeNumber(const uint8_t* p, uint32_t);
};

// stsh: pairs of a shadowed sample and the sync sample that may replace it.
class CShadowSyncSampleBox : public CFullBox {
public:
    explicit CShadowSyncSampleBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_shadowedSampleNumbers.size(); }
    uint32_t GetShadowedSampleNumber(uint32_t i) const;
    uint32_t GetSyncSampleNumber(uint32_t i) const;

    uint32_t m_entryCount = 0;
    TableVector<uint32_t> m_shadowedSampleNumbers;
    TableVector<uint32_t> m_syncSampleNumbers;
};
