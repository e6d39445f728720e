#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// A child of tref: its own four-character code is the reference type (hint, cdsc,
// chap, ...) and its payload the IDs of the tracks it refers to.
class CTrackReferenceTypeBox : public CBox {
public:
    explicit CTrackReferenceTypeBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    const std::vector<uint32_t>& GetTrackIDs() const { return m_trackIDs; }

    std::vector<uint32_t> m_trackIDs;
};
