#pragma once
#include <cstdint>

#include "boxes/box.h"

// a1op: the AV1 operating point an image item is decoded at.
class COperatingPointSelectorBox : public CBox {
public:
    explicit COperatingPointSelectorBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_opIndex = 0;  // 8 bits
};
