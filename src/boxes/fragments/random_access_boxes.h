#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// tfra: the random access points of one track, each at a sample of a movie fragment.
class CTrackFragmentRandomAccessbox : public CFullBox {
public:
    struct Entry {
        uint64_t time = 0;        // 64 bits in version 1, else 32
        uint64_t moofOffset = 0;  // likewise
        uint32_t trafNumber = 0;  // 1 to 4 bytes each, as the length sizes say
        uint32_t trunNumber = 0;
        uint32_t sampleNumber = 0;
    };
    explicit CTrackFragmentRandomAccessbox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Null at or past the stored entries.
    const Entry* GetEntry(size_t i) const { return i < m_entries.size() ? &m_entries[i] : nullptr; }

    uint32_t m_trackID = 0;
    uint32_t m_reserved = 0;  // 26 bits
    uint32_t m_lengthSizeOfTrafNum = 0;  // 2 bits each: the field takes (size + 1) bytes
    uint32_t m_lengthSizeOfTrunNum = 0;
    uint32_t m_lengthSizeOfSampleNum = 0;
    uint32_t m_numberOfEntry = 0;
    std::vector<Entry> m_entries;
};

// mfro: closes an mfra and tells its size, so a reader can find it from the file's end.
class CMovieFragmentRandomAccessOffsetBox : public CFullBox {
public:
    explicit CMovieFragmentRandomAccessOffsetBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_size = 0;
};
