#pragma once
#include <cstdint>

#include "boxes/box.h"

// mfhd: the fragment's sequence number. Bytes after it may only be uuid boxes,
// kept as plain children; anything else fails the box.
class CMovieFragmentHeaderBox : public CFullBox {
public:
    explicit CMovieFragmentHeaderBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_sequenceNumber = 0;
};
