#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "report/page_model.h"

class CCorvel;
class CTimecodeSampleEntry;

// What a user asks of a file first: its brands, duration and layout, and one line per
// track (corvel info, the root page of tessaly).
struct TrackInfo {
    uint32_t boxId = 0;                  // the trak's identity in the parse run
    uint64_t boxOffset = 0, boxSize = 0;  // and its bytes
    uint32_t id = 0;
    uint32_t handler = 0;
    std::string codec;  // as a DASH or HLS manifest names it
    uint32_t width = 0, height = 0;          // visual tracks
    uint32_t channels = 0, sampleRate = 0;   // audio tracks
    uint32_t timescale = 0;
    uint64_t duration = 0;  // in the time scale: the samples' durations (else the mdhd's)
    // The edit list's empty edits and media edits in seconds (a media edit of duration 0
    // runs to the media's end); negative without an edit list.
    double emptyEditSeconds = -1, mediaEditSeconds = -1;
    uint64_t samples = 0;
    uint64_t bytes = 0;
    std::string language;   // ISO 639-2/T, or QuickTime's language name
    std::string timecode;   // a timecode track's first sample as HH:MM:SS:FF
    const CTimecodeSampleEntry* timecodeEntry = nullptr;  // the entry that counts it

    // How long the track plays: its empty edits, then its media as far as its edits show it.
    double Seconds() const;
    // Bits a second over the track's duration; 0 when it has none.
    uint64_t BitRate() const;
};

// A chapter: where it starts and its title.
struct ChapterInfo {
    double seconds = 0;
    std::string title;
};

struct FileInfo {
    uint32_t majorBrand = 0, minorVersion = 0;
    std::vector<uint32_t> compatibleBrands;
    bool hasBrands = false;
    uint64_t fragments = 0;  // top-level moof boxes
    double seconds = 0;      // the longest track's (the movie header's when no track tells)
    std::vector<TrackInfo> tracks;
    // From the movie's chpl, else from the samples of the first track a tref/chap names
    // (a 16-bit length, then the title); `chaptersFrom` says which ("chpl", "track 2").
    std::vector<ChapterInfo> chapters;
    std::string chaptersFrom;
};

FileInfo ReadFileInfo(const CCorvel& parser, const CCorvel* init = nullptr);
// The codec's parameters as one short text: "160x120", "2 ch, 48000 Hz", or empty.
std::string TrackParameters(const TrackInfo& track);
// The tracks as a list table (row k + 2 is track k, its span the trak's bytes), as the
// root page of tessaly shows them; empty for a file without tracks.
ReportTable TracksTable(const FileInfo& info);
