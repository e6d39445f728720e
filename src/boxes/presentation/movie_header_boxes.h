#pragma once
#include <cstdint>

#include "boxes/box.h"

// mvhd: the presentation's time scale, duration and defaults.
class CMovieHeaderBox : public CFullBox {
public:
    explicit CMovieHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t m_creationTime = 0;
    uint64_t m_modificationTime = 0;
    uint32_t m_timescale = 0;
    uint64_t m_duration = 0;
    uint32_t m_rate = 0;    // signed 16.16
    uint32_t m_volume = 0;  // 8.8, 16 bits
    uint32_t m_reserved16 = 0;
    uint32_t m_reserved32[2] = {};
    uint32_t m_matrix[9] = {};
    uint32_t m_preDefined[6] = {};
    uint32_t m_nextTrackID = 0;
};

// tkhd: a track's identity, duration, layout and size.
class CTrackHeaderBox : public CFullBox {
public:
    explicit CTrackHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t m_creationTime = 0;
    uint64_t m_modificationTime = 0;
    uint32_t m_trackID = 0;
    uint32_t m_reserved1 = 0;
    uint64_t m_duration = 0;
    uint32_t m_reserved2[2] = {};
    uint32_t m_layer = 0;           // 16
    uint32_t m_alternateGroup = 0;  // 16
    uint32_t m_volume = 0;          // 16
    uint32_t m_reserved3 = 0;       // 16
    uint32_t m_matrix[9] = {};
    uint32_t m_width = 0;   // 16.16
    uint32_t m_height = 0;  // 16.16
};

// mdhd: the media's time scale, duration and language.
class CMediaHeaderBox : public CFullBox {
public:
    explicit CMediaHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t GetTimescale() const { return m_timescale; }
    uint64_t GetDuration() const { return m_duration; }
    // The 5-bit letter codes, first letter first (the letter is code + 0x60).
    uint32_t GetLanguageCode(int i) const { return i >= 0 && i < 3 ? m_language[i] : 0; }

    uint64_t m_creationTime = 0;
    uint64_t m_modificationTime = 0;
    uint32_t m_timescale = 0;
    uint64_t m_duration = 0;
    uint32_t m_pad = 0;  // 1 bit
    uint32_t m_language[3] = {};
    uint32_t m_preDefined = 0;  // 16
};
