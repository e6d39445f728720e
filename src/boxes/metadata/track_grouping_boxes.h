#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// tsel: the switch group of a track and the attributes that tell it from the others.
class CTrackSelectionBox : public CFullBox {
public:
    explicit CTrackSelectionBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_switchGroup = 0;
    std::vector<uint32_t> m_attributes;  // four-CCs (bitr, lang, ...)
};

// trgr: the track groups a track belongs to, as its children.
class CTrackGroupbox : public CBox {
public:
    explicit CTrackGroupbox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// msrc: a track group of the multi-source kind.
class CTrackGroupTypeBox : public CFullBox {
public:
    explicit CTrackGroupTypeBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_trackGroupId = 0;
};
