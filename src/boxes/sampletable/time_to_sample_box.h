#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_view.h"

// stts: decoding time deltas, run-length coded.
class CTimeToSampleBox : public CFullBox {
public:
    struct Entry {
        uint32_t sampleCount;
        uint32_t sampleDelta;
    };
    explicit CTimeToSampleBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // 0 (and a log line) at or past the stored entries or the entry count.
    uint32_t RetrieveSampleCount(uint32_t i) const;
    uint32_t RetrieveSampleDelta(uint32_t i) const;

    uint32_t m_entryCount = 0;
    TableView<Entry> m_entries{DecodeEntry};

private:
    static Entry DecodeEntry(const uint8_t* p, uint32_t);
};

// ctts: composition offsets, run-length coded; the offset keeps its 32 raw bits
// (version 1 offsets are signed: cast to int32_t).
class CCompositionOffsetBox : public CFullBox {
public:
    struct Entry {
        uint32_t sampleCount;
        uint32_t sampleOffset;
    };
    explicit CCompositionOffsetBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    uint32_t GetSampleCount(uint32_t i) const;
    uint32_t GetSampleOffset(uint32_t i) const;

    uint32_t m_entryCount = 0;
    TableView<Entry> m_entries{DecodeEntry};

private:
    static Entry DecodeEntry(const uint8_t* p, uint32_t);
};

// cslg: the composition shift and bounds, all signed.
class CCompositionToDecodeBox : public CFullBox {
public:
    explicit CCompositionToDecodeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    int32_t m_compositionToDTSShift = 0;
    int32_t m_leastDecodeToDisplayDelta = 0;
    int32_t m_greatestDecodeToDisplayDelta = 0;
    int32_t m_compositionStartTime = 0;
    int32_t m_compositionEndTime = 0;
};
