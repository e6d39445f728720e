#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "boxes/fragments/movie_extends_boxes.h"
#include "samples/track_protection.h"

class CBox;
class CCorvel;

// How a tfhd base data offset is read: Smooth Streaming files (major brand isml) may
// count it from the fragment's own first byte; F4F files carry an afra.
enum class FragmentOffsetMode { Plain = 0, Isml = 1, Afra = 2 };

// The facts of one parse run that the sample walks and the mdat pages need, found
// once: the offset mode, the track extends boxes of the first moov by track id, and
// the sample tables of the first moov. Gathered from a walk that kept its boxes, or
// from the top-level boxes of a streamed walk as they come by.
class SampleContext {
public:
    // `init`: the init segment of a media segment, whose moov (track extends, protection)
    // serves the segment's fragments as if the two files were one.
    explicit SampleContext(const CCorvel& parser, const CCorvel* init = nullptr);
    // For a streamed walk of a file of `fileSize` bytes: Note each top-level box in file order.
    explicit SampleContext(uint64_t fileSize, const CCorvel* init = nullptr);
    void Note(const CBox& top);

    // The walk that kept its boxes; null for facts gathered from a streamed walk.
    const CCorvel* Parser() const { return m_parser; }
    uint64_t FileSize() const { return m_fileSize; }
    FragmentOffsetMode OffsetMode() const { return m_mode; }
    // The trex of a track in the first moov; null when there is none.
    const CTrackExtendsBox* TrackExtends(uint32_t trackId) const;
    // The stbl boxes below the children of the first moov, in tree order: their
    // identities and sample counts.
    struct TrackTable {
        uint32_t id;
        uint64_t samples;
        uint32_t trackId;  // its trak's tkhd track id (0 without one)
    };
    const std::vector<TrackTable>& TrackTables() const { return m_stbls; }
    // True when any of those tables holds a sample.
    bool TracksHaveSamples() const { return m_tracksHaveSamples; }
    // How a protected track of the first moov is encrypted; null for a clear track.
    const TrackProtection* Protection(uint32_t trackId) const;
    bool HasProtection() const { return !m_protection.empty(); }

private:
    const CCorvel* m_parser = nullptr;
    uint64_t m_fileSize = 0;
    FragmentOffsetMode m_mode = FragmentOffsetMode::Plain;
    bool m_moovSeen = false;
    // Copies: a streamed walk lets the moov go.
    std::unordered_map<uint32_t, CTrackExtendsBox> m_trex;
    std::vector<TrackTable> m_stbls;
    bool m_tracksHaveSamples = false;
    std::unordered_map<uint32_t, TrackProtection> m_protection;  // by track id
};

// Appends every box of the subtree (the box itself first, then its children in
// order, depth first) whose type is `type`.
void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list);
