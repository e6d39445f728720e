#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "boxes/fragments/movie_extends_boxes.h"

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
    explicit SampleContext(const CCorvel& parser);
    // For a streamed walk of a file of `fileSize` bytes: Note each top-level box in file order.
    explicit SampleContext(uint64_t fileSize) : m_fileSize(fileSize) {}
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
    };
    const std::vector<TrackTable>& TrackTables() const { return m_stbls; }
    // True when any of those tables holds a sample.
    bool TracksHaveSamples() const { return m_tracksHaveSamples; }
    // The per-sample IV size of a protected track of the first moov (its tenc's); -1 when
    // the track has no tenc.
    int PerSampleIvSize(uint32_t trackId) const;

private:
    const CCorvel* m_parser = nullptr;
    uint64_t m_fileSize = 0;
    FragmentOffsetMode m_mode = FragmentOffsetMode::Plain;
    bool m_moovSeen = false;
    // Copies: a streamed walk lets the moov go.
    std::unordered_map<uint32_t, CTrackExtendsBox> m_trex;
    std::vector<TrackTable> m_stbls;
    bool m_tracksHaveSamples = false;
    std::unordered_map<uint32_t, uint32_t> m_ivSizes;  // by track id
};

// Appends every box of the subtree (the box itself first, then its children in
// order, depth first) whose type is `type`.
void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list);
