#pragma once
#include <cstdint>
#include <functional>

#include "samples/sample_record.h"

class CBox;
class ContainerEncryption;
class SampleContext;

// Where a sample comes from: its track (the tkhd or tfhd track id) and its movie
// fragment (numbered from 1 among the file's top-level moofs; 0 for the samples of a
// sample table). `number` counts the track's samples from 0 across its fragments.
struct SampleOrigin {
    uint32_t trackId = 0;
    uint32_t fragment = 0;
    uint64_t number = 0;
    // A protected track's: how its samples are encrypted (Of(record.index)); else null.
    const ContainerEncryption* encryption = nullptr;
};
// Returns false to stop the walk.
using SampleVisitor = std::function<bool(const SampleOrigin&, const SampleRecord&)>;

// Visits the samples of a file in order: those of each track of the first moov's
// sample tables, then those of each track fragment of each top-level moof in file
// order. A fragment without a tfdt continues the decode times of its track.
// `scope` limits the walk to one trak, stbl, moof or traf (null: the whole file);
// false when it names a box of another type, or when the context comes from a streamed walk.
bool VisitSamples(const SampleContext& context, const CBox* scope, const SampleVisitor& visit);
