#pragma once
#include <cstdint>
#include <vector>

#include "samples/sample_record.h"

class CBox;
class CChunkOffsetBox;
class CCompactSampleSizeBox;
class CSampleSizeBox;
class CSampleToChunkbox;
class CSyncSampleBox;
class CTimeToSampleBox;

// Sample counts come from the file: a list offers at most this many samples (the
// select lists of a page have options for no more); samples past it are not listed.
constexpr uint64_t kMaxListedSamples = 20000000;

// The samples of a track, from the tables of its sample table box: the last box of
// each kind serves. Without a size box there are no samples; without stts the deltas
// are 0, without stsc every sample is a chunk of its own, without chunk offsets the
// chunks start at 0, without stss no sample is marked.
//
// Sample k is found from the tables directly (the run of stts and of stsc it falls
// in, its place in stss), so the last samples of a long track cost what the first do.
//
// `fileSize` (0: not known) bounds a count that no table holds: the samples of one
// size for all must fit in the file.
class TrackSamples {
public:
    TrackSamples(const CBox& stbl, uint64_t fileSize);

    uint64_t Count() const { return m_count; }

    // Walks the samples in order from sample k (from 0) on; Next() past the last
    // sample keeps counting with the tables' defaults.
    class Cursor {
    public:
        SampleRecord Next();

    private:
        friend class TrackSamples;
        explicit Cursor(const TrackSamples& t) : m_t(t) {}
        const TrackSamples& m_t;
        // The state after the samples before `m_next`, as a walk from the first sample has it.
        uint64_t m_next = 1;  // sample number, from 1
        uint64_t m_decodeTime = 0;
        int64_t m_sttsIndex = -1, m_sttsRemaining = 0;
        int64_t m_stscIndex = -1, m_leftInChunk = 0;
        uint64_t m_chunkNumber = 0, m_offsetInChunk = 0, m_stssIndex = 0;
        int64_t m_chunkIndex = -1;
    };
    Cursor From(uint64_t k) const;
    SampleRecord At(uint64_t k) const { return From(k).Next(); }

private:
    uint64_t SizeOf(uint64_t number) const;  // sample number from 1; 0 when not stored
    uint64_t SizesBetween(uint64_t first, uint64_t last) const;  // numbers first..last-1

    // A run of the time-to-sample table: from sample `first` (from 0), `length` samples.
    struct TimeRun {
        uint64_t first, length, time;
        uint32_t count, delta;
    };
    // A run of chunks with one samples-per-chunk value: chunks from `firstChunk`,
    // samples from `firstSample` (from 0); `entry` -1 before the first stsc entry applies.
    struct ChunkRun {
        uint64_t firstChunk, firstSample;
        int64_t entry, perChunk;  // perChunk as stored (-1 without an entry)
    };

    const CSampleSizeBox* m_stsz = nullptr;
    const CCompactSampleSizeBox* m_stz2 = nullptr;
    const CTimeToSampleBox* m_stts = nullptr;
    const CSyncSampleBox* m_stss = nullptr;
    const CSampleToChunkbox* m_stsc = nullptr;
    const CChunkOffsetBox* m_stco = nullptr;
    uint64_t m_count = 0;
    uint64_t m_constantSize = 0;
    std::vector<TimeRun> m_timeRuns;
    uint64_t m_timedSamples = 0, m_timedEnd = 0;  // samples and time the stored runs cover
    std::vector<ChunkRun> m_chunkRuns;
    uint64_t m_syncPrefix = 0;  // stss entries a walk can match: the increasing ones from the first
};

// The number of samples of a track (at most kMaxListedSamples): the sample count of its
// size box (the last stsz, else the last stz2), as far as the box holds their sizes or,
// for one size for all, as far as they fit in a file of `fileSize` bytes (0: not known).
uint64_t TrackSampleCount(const CBox& stbl, uint64_t fileSize = 0);
