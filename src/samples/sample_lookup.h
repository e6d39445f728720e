#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "samples/file_samples.h"
#include "samples/sample_encryption.h"

class CCorvel;

// One sample found in a walk of the file's samples, with how it is encrypted.
struct FoundSample {
    uint32_t trackId = 0;
    SampleRecord record;
    std::optional<SampleEncryption> encryption;  // a protected track's samples only
};

// Sample `number` (from 0, counting through the fragments) of track `trackId`.
std::optional<FoundSample> FindSample(const SampleContext& context, uint32_t trackId, uint64_t number);
// The sample whose bytes are `size` bytes at `offset` (what a sample's dump shows).
std::optional<FoundSample> FindSampleAt(const SampleContext& context, uint64_t offset, uint64_t size);

// The sample's bytes as far as the file holds them.
std::vector<uint8_t> ReadSampleBytes(const CCorvel& parser, const SampleRecord& record);
