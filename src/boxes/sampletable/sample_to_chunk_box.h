#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_view.h"

// stsc: runs of chunks with the same number of samples.
class CSampleToChunkbox : public CFullBox {
public:
    struct Entry {
        uint32_t firstChunk;
        uint32_t samplesPerChunk;
        uint32_t sampleDescriptionIndex;
    };
    explicit CSampleToChunkbox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetEntryCount() const { return m_entryCount; }
    size_t GetStoredEntryCount() const { return m_entries.size(); }
    // Each 0 at or past the stored entries.
    uint32_t GetFirstChunk(uint32_t i) const;
    uint32_t GetSamplesPerChunk(uint32_t i) const;
    uint32_t GetSampleDescriptionIndex(uint32_t i) const;

    uint32_t m_entryCount = 0;
    TableView<Entry> m_entries{DecodeEntry};

private:
    static Entry DecodeEntry(const uint8_t* p, uint32_t);
};
