#pragma once
#include <cstdint>

#include "boxes/box.h"

// tfhd: the track of a fragment and the defaults its runs fall back on. Each
// optional field is present only when its flag bit is set; absent ones stay 0.
class CTrackFragmentHeaderBox : public CFullBox {
public:
    static constexpr uint32_t kBaseDataOffsetPresent = 0x1;
    static constexpr uint32_t kSampleDescriptionIndexPresent = 0x2;
    static constexpr uint32_t kDefaultDurationPresent = 0x8;
    static constexpr uint32_t kDefaultSizePresent = 0x10;
    static constexpr uint32_t kDefaultFlagsPresent = 0x20;

    explicit CTrackFragmentHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_trackId = 0;
    uint64_t m_baseDataOffset = 0;
    uint32_t m_sampleDescriptionIndex = 0;
    uint32_t m_defaultSampleDuration = 0;
    uint32_t m_defaultSampleSize = 0;
    uint32_t m_defaultSampleFlags = 0;
};

// tfdt: the decode time of the fragment's first sample.
class CTfdtBox : public CFullBox {
public:
    explicit CTfdtBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t m_baseMediaDecodeTime = 0;
};
