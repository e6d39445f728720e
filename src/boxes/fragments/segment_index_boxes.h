#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// sidx: the subsegments of a segment (or further indexes), their sizes and durations.
class CSegmentIndexBox : public CFullBox {
public:
    struct Reference {
        uint32_t referenceType = 0;  // 1 bit: 1 points at another sidx
        uint32_t referencedSize = 0;  // 31 bits
        uint32_t subsegmentDuration = 0;
        uint32_t startsWithSAP = 0;  // 1 bit
        uint32_t SAPType = 0;        // 3 bits
        uint32_t SAPDeltaTime = 0;   // 28 bits
    };
    explicit CSegmentIndexBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Null at or past the stored references.
    const Reference* GetReference(size_t i) const { return i < m_references.size() ? &m_references[i] : nullptr; }

    uint32_t m_referenceID = 0;
    uint32_t m_timescale = 0;
    uint64_t m_earliestPresentationTime = 0;  // 32 bits in version 0, else 64
    uint64_t m_firstOffset = 0;               // likewise
    uint32_t m_reserved = 0;                  // 16 bits
    uint32_t m_referenceCount = 0;            // 16 bits
    std::vector<Reference> m_references;
};

// ssix: the byte ranges of each subsegment, by level.
class CSubsegmentIndexBox : public CFullBox {
public:
    struct Range {
        uint32_t level = 0;      // 8 bits
        uint32_t rangeSize = 0;  // 24 bits
    };
    struct Subsegment {
        uint32_t rangesCount = 0;
        std::vector<Range> ranges;
    };
    explicit CSubsegmentIndexBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Null at or past the stored subsegments.
    const Subsegment* GetSubsegment(size_t i) const { return i < m_subsegments.size() ? &m_subsegments[i] : nullptr; }

    uint32_t m_subsegmentCount = 0;
    std::vector<Subsegment> m_subsegments;
};

// prft: the wall-clock (NTP) time at which a sample of a track was produced.
class CProducerReferenceTimeBox : public CFullBox {
public:
    explicit CProducerReferenceTimeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_referenceTrackID = 0;
    uint64_t m_ntpTimestamp = 0;  // seconds since 1900 in the high 32 bits, their fraction in the low
    uint64_t m_mediaTime = 0;     // 32 bits in version 0, else 64
};
