#pragma once
#include <algorithm>
#include <cstdint>

#include "boxes/box.h"
#include "boxes/sampletable/table_view.h"

// trun: a run of contiguous samples of a track fragment. Per-sample fields are
// present only when their flag bit is set; absent ones are 0.
class CTrackRunBox : public CFullBox {
public:
    static constexpr uint32_t kDataOffsetPresent = 0x1;
    static constexpr uint32_t kFirstSampleFlagsPresent = 0x4;
    static constexpr uint32_t kDurationPresent = 0x100;
    static constexpr uint32_t kSizePresent = 0x200;
    static constexpr uint32_t kFlagsPresent = 0x400;
    static constexpr uint32_t kCompositionOffsetPresent = 0x800;

    struct Sample {
        uint32_t duration = 0;
        uint32_t size = 0;
        uint32_t flags = 0;
        uint32_t compositionTimeOffset = 0;  // the raw 32 bits; signed in version 1
    };

    // A run whose samples carry no field takes no payload bytes per sample, so its
    // count is not bounded by the box size: it stands for at most this many.
    static constexpr uint32_t kMaxFieldlessSamples = 1u << 20;

    explicit CTrackRunBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // A run whose samples carry no field (their values come from the defaults) stores
    // none: it stands for its sample count (at most kMaxFieldlessSamples) of zero records.
    bool IsFieldless() const {
        return !(m_flags & (kDurationPresent | kSizePresent | kFlagsPresent | kCompositionOffsetPresent));
    }
    // The samples of the run: those read (sample_count unless the box was cut short), or
    // the zero records of a fieldless run. A zero record at or past them.
    size_t GetSampleEntryCount() const {
        return IsFieldless() ? std::min<size_t>(m_sampleCount, kMaxFieldlessSamples) : m_samples.size();
    }
    Sample GetSample(size_t index) const { return m_samples.At(index); }

    uint32_t m_sampleCount = 0;
    uint32_t m_dataOffset = 0;  // signed in the file; kept as its 32 bits
    uint32_t m_firstSampleFlags = 0;
    TableView<Sample> m_samples{DecodeSample};  // the fields the flags say, in their order

private:
    static Sample DecodeSample(const uint8_t* p, uint32_t flags);
};
