#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "samples/file_samples.h"
#include "samples/sample_encryption.h"

class CCorvel;
class KeyRing;
class CTimecodeSampleEntry;

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
// A protected sample's bytes read and decrypted into `bytes`: "" when done, else why not
// (a sample the file ends inside is not decrypted).
std::string ReadDecrypted(const CCorvel& parser, const SampleRecord& record, const SampleEncryption& encryption,
                          const KeyRing& keys, std::vector<uint8_t>& bytes);

// The first tmcd sample entry of a timecode track's trak or stbl; null for another track.
const CTimecodeSampleEntry* TimecodeEntryOf(const CBox& trakOrStbl);
// A timecode track's sample as the timecode it holds ("10:00:00:00"); "" when the file ends
// before its frame number.
std::string SampleTimecode(const CCorvel& parser, const CTimecodeSampleEntry& entry, const SampleRecord& record);
