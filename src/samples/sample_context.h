#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

class CBox;
class CCorvel;
class CTrackExtendsBox;

// How a tfhd base data offset is read: Smooth Streaming files (major brand isml) may
// count it from the fragment's own first byte; F4F files carry an afra.
enum class FragmentOffsetMode { Plain = 0, Isml = 1, Afra = 2 };

// The facts of one parse run that the sample walks and the mdat pages need, found
// once: the offset mode, the track extends boxes of the first moov by track id, and
// the sample tables of the first moov.
class SampleContext {
public:
    explicit SampleContext(const CCorvel& parser);

    const CCorvel& Parser() const { return m_parser; }
    uint64_t FileSize() const { return m_fileSize; }
    FragmentOffsetMode OffsetMode() const { return m_mode; }
    // The trex of a track in the first moov; null when there is none.
    const CTrackExtendsBox* TrackExtends(uint32_t trackId) const;
    // The stbl boxes below the children of the first moov, in tree order.
    const std::vector<const CBox*>& TrackTables() const { return m_stbls; }
    // True when any of those tables holds a sample.
    bool TracksHaveSamples() const { return m_tracksHaveSamples; }

private:
    const CCorvel& m_parser;
    uint64_t m_fileSize = 0;
    FragmentOffsetMode m_mode = FragmentOffsetMode::Plain;
    std::unordered_map<uint32_t, const CTrackExtendsBox*> m_trex;
    std::vector<const CBox*> m_stbls;
    bool m_tracksHaveSamples = false;
};

// Appends every box of the subtree (the box itself first, then its children in
// order, depth first) whose type is `type`.
void FindBoxes(const CBox& box, uint32_t type, std::vector<const CBox*>& list);
