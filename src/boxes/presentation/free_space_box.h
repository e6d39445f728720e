#pragma once
#include <cstdint>
#include <vector>

#include "boxes/core/box.h"

// free and skip: bytes without meaning, kept as they are.
class CFreeSpaceBox : public CBox {
public:
    explicit CFreeSpaceBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    size_t GetSpaceSize() const { return m_bytes.size(); }

    std::vector<uint8_t> m_bytes;
};
