#pragma once
#include <cstdint>

#include "boxes/box.h"
#include "boxes/child_loop.h"

// free and skip: bytes without meaning. Their number is kept; the bytes are not
// (the dump pane shows them from the file).
class CFreeSpaceBox : public CBox {
public:
    explicit CFreeSpaceBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t GetSpaceSize() const { return m_spaceSize; }

    uint64_t m_spaceSize = 0;  // payload bytes read through
};

// A child a container or an entry does not name: free space is free space wherever it
// stands; any other type stays unknown.
inline ChildMade FreeSpaceOrUnknown(const CBox& h) {
    if (h.m_type == FourCC("free") || h.m_type == FourCC("skip")) return Known<CFreeSpaceBox>(h);
    return Unknown();
}
