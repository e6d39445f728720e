#pragma once
#include <cstdint>

#include "boxes/box.h"

// free and skip: bytes without meaning. Their number is kept; the bytes are not
// (the dump pane shows them from the file).
class CFreeSpaceBox : public CBox {
public:
    explicit CFreeSpaceBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t GetSpaceSize() const { return m_spaceSize; }

    uint64_t m_spaceSize = 0;  // payload bytes read through
};
