#pragma once
#include <cstdint>

// One sample of a track or a track fragment, as the sample tables or the track runs
// give it. Plain values: the walks compute them, the pages, `corvel samples` and the
// tests read them.
struct SampleRecord {
    // Whether a sample is a random access point: tracks without a sync sample table
    // say nothing (every sample is one); fragments tell it in the sample flags.
    enum class Sync : uint8_t { Unmarked, Yes, No };

    uint64_t index = 0;       // from 0 within its track or track fragment
    uint64_t decodeTime = 0;  // in the media's time scale
    uint64_t duration = 0;    // the sample delta of the time-to-sample table, or the run's duration
    uint64_t size = 0;
    uint64_t offset = 0;      // file offset of the sample's first byte
    Sync sync = Sync::Unmarked;
    // Track samples: the chunk the sample lies in (numbered from 1) and that chunk's offset.
    uint64_t chunkNumber = 0;
    uint64_t chunkOffset = 0;
    // Fragment samples: the sample flags and the composition time offset as stored.
    uint32_t flags = 0;
    uint32_t compositionOffset = 0;
};
