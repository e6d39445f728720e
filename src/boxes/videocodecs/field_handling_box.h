#pragma once
#include <cstdint>

#include "boxes/box.h"

// fiel (QuickTime): one or two fields per frame, and their order.
class CFieldHandlingBox : public CBox {
public:
    explicit CFieldHandlingBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_fieldCount = 0;     // 8
    uint32_t m_fieldOrdering = 0;  // 8
};
