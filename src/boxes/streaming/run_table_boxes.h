#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"
#include "boxes/sampletable/table_allocator.h"

// The run tables of an abst (HTTP Dynamic Streaming bootstrap): asrt maps segments to
// their fragment counts, afrt maps fragments to their times.

class CSegmentRunTableBox : public CFullBox {  // asrt
public:
    struct Entry {
        uint32_t firstSegment;
        uint32_t fragmentsPerSegment;
    };
    explicit CSegmentRunTableBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_QualityEntryCount = 0;  // 8 bits
    std::vector<std::string> m_qualitySegmentUrlModifiers;
    uint32_t m_SegmentRunEntryCount = 0;
    TableVector<Entry> m_entries;
};

class CFragmentRunTableBox : public CFullBox {  // afrt
public:
    struct Entry {
        uint32_t firstFragment = 0;
        uint64_t firstFragmentTimestamp = 0;
        uint32_t fragmentDuration = 0;
        uint32_t discontinuityIndicator = 0;  // 8 bits, present only when the duration is 0
    };
    explicit CFragmentRunTableBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_TimeScale = 0;
    uint32_t m_QualityEntryCount = 0;  // 8 bits
    std::vector<std::string> m_qualitySegmentUrlModifiers;
    uint32_t m_FragmentEntryCount = 0;
    std::vector<Entry> m_entries;
};
