#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "samples/sample_record.h"

class CBox;
class CTrackExtendsBox;
class CTrackFragmentHeaderBox;
class CTrackRunBox;
class SampleContext;

// The samples of a track fragment: its track runs in order, each sample's fields from
// the run, else the tfhd defaults, else the trex defaults of the first moov.
//
// Where a run's data lies: at the base plus its (signed) data offset; without one,
// right after the previous run, or for the first run at the base when the tfhd gave
// one, else at the mdat payload. The base is the moof's first byte, or the tfhd's
// base data offset (in Smooth Streaming files counted from the fragment when the mdat
// lies past it). Decode times count from the tfdt, else from `firstDecodeTime`.
// A run whose samples carry no field stands for as many as fit in the media data that
// goes with the fragment (or in the file).
class FragmentSamples {
public:
    // `moof` and `mdat` are the traf's movie fragment and the media data that goes with
    // it (either may be null); `context` gives the file's facts (null: none).
    FragmentSamples(const CBox& traf, const CBox* moof, const CBox* mdat, const SampleContext* context,
                    uint64_t firstDecodeTime = 0);

    uint64_t Count() const { return m_count; }
    // The decode time after the last sample (where the track's next fragment would start).
    uint64_t EndDecodeTime() const { return m_endTime; }

    // Walks the samples in order from sample k (from 0) on, up to the last.
    class Cursor {
    public:
        bool Done() const;
        SampleRecord Next();

    private:
        friend class FragmentSamples;
        explicit Cursor(const FragmentSamples& f) : m_f(f) {}
        const FragmentSamples& m_f;
        size_t m_run = 0;    // index into m_runs
        uint64_t m_j = 0;    // sample of that run
        uint64_t m_index = 0, m_offset = 0, m_time = 0;
    };
    Cursor From(uint64_t k) const;
    SampleRecord At(uint64_t k) const { return From(k).Next(); }

private:
    // One track run with what applies to it.
    struct Run {
        const CTrackRunBox* trun;
        const CTrackFragmentHeaderBox* tfhd;
        const CTrackExtendsBox* trex;
        uint64_t count;        // its samples
        uint64_t firstSample;  // from 0, within the traf
        uint64_t offset;       // file offset of its first sample
        uint64_t time;         // decode time of its first sample
    };
    uint32_t Size(const Run& run, uint64_t j) const;
    uint32_t Duration(const Run& run, uint64_t j) const;
    uint32_t Flags(const Run& run, uint64_t j) const;

    std::vector<Run> m_runs;
    uint64_t m_count = 0;
    uint64_t m_endTime = 0;
};

// The number of samples of a track fragment (at most kMaxListedSamples): the samples
// its track runs hold.
uint64_t FragmentSampleCount(const CBox& traf, const SampleContext* context);
