#pragma once
#include <cstdint>

// One FLV tag inside the mdat of an F4F fragment.
class CFLVTag {
public:
    virtual ~CFLVTag() = default;
    int64_t m_startOffset = 0;
};
