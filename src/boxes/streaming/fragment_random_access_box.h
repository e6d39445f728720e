#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// afra (HTTP Dynamic Streaming): random access points of a fragment, each a time and
// where its sample starts; global entries also name the segment and fragment.
class CFragmentRandomAccessBox : public CFullBox {
public:
    struct LocalEntry {
        uint64_t time = 0;
        uint64_t offset = 0;  // 64 bits with LongOffsets, else 32
    };
    struct GlobalEntry {
        uint64_t time = 0;
        uint32_t segment = 0;         // 32 bits with LongIDs, else 16
        uint32_t fragment = 0;        // 32 bits with LongIDs, else 16
        uint64_t afraOffset = 0;      // 64 bits with LongOffsets, else 32
        uint64_t offsetFromAfra = 0;  // 64 bits with LongOffsets, else 32
    };

    explicit CFragmentRandomAccessBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Null at or past the entries read.
    const LocalEntry* GetLocalEntry(size_t i) const { return i < m_localEntries.size() ? &m_localEntries[i] : nullptr; }
    const GlobalEntry* GetGlobalEntry(size_t i) const {
        return i < m_globalEntries.size() ? &m_globalEntries[i] : nullptr;
    }

    // The three flags hold 1 when their bit is set.
    uint32_t m_LongIDs = 0;
    uint32_t m_LongOffsets = 0;
    uint32_t m_GlobalEntries = 0;
    uint32_t m_reserved = 0;  // 5 bits
    uint32_t m_TimeScale = 0;
    uint32_t m_EntryCount = 0;
    uint32_t m_GlobalEntryCount = 0;  // read only with GlobalEntries
    std::vector<LocalEntry> m_localEntries;
    std::vector<GlobalEntry> m_globalEntries;
};
