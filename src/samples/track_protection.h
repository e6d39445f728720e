#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "boxes/protection/track_encryption_box.h"

class CBox;

// How a protected track's samples are encrypted unless a sample group says otherwise:
// the scheme of its first sinf that has a tenc (PIFF's track encryption uuid box counts
// as scheme "piff"), that tenc's defaults, and the track's seig group descriptions, which
// a fragment's sample-to-group box may point at.
struct TrackProtection {
    uint32_t scheme = 0;
    EncryptionDefaults defaults;
    std::vector<EncryptionDefaults> groups;  // the stbl's seig descriptions, from index 1
};

// The protected tracks of a moov by track id (copies: a streamed walk lets the moov go).
std::unordered_map<uint32_t, TrackProtection> ProtectionOfTracks(const CBox& moov);
