#pragma once
#include <cstdint>
#include <vector>

#include "boxes/box.h"

// free and skip: bytes without meaning. The size counts every payload byte; only
// the first bytes are copied, since a free box may declare hundreds of megabytes
// (read as zeros past the file's end) that nobody looks at.
class CFreeSpaceBox : public CBox {
public:
    static constexpr uint64_t kKeptBytes = 32000;  // as many as the dump pane shows

    explicit CFreeSpaceBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint64_t GetSpaceSize() const { return m_spaceSize; }

    uint64_t m_spaceSize = 0;     // payload bytes read through
    std::vector<uint8_t> m_bytes;  // the first of them, at most kKeptBytes
};
