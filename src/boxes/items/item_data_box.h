#pragma once
#include <cstdint>

#include "boxes/box.h"

// idat: bytes of items whose location (iloc, construction method 1) points into it.
// The bytes stay in the file; the box keeps their count.
class CItemDataBox : public CBox {
public:
    explicit CItemDataBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t m_dataOffset = 0;  // in the file
    uint64_t m_dataSize = 0;
};
