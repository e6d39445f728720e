#pragma once
#include <cstdint>

#include "boxes/box.h"

// mehd: the duration of the whole fragmented movie.
class CMovieExtendsHeaderBox : public CFullBox {
public:
    explicit CMovieExtendsHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t m_fragmentDuration = 0;
};

// trex: the per-track sample defaults that movie fragments fall back on.
class CTrackExtendsBox : public CFullBox {
public:
    explicit CTrackExtendsBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_trackId = 0;
    uint32_t m_defaultSampleDescriptionIndex = 0;
    uint32_t m_defaultSampleDuration = 0;
    uint32_t m_defaultSampleSize = 0;
    uint32_t m_defaultSampleFlags = 0;
};
