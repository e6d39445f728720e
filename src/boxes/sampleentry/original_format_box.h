#pragma once
#include <cstdint>

#include "boxes/box.h"

// frma: the code of the format a wrapper stands for (inside a QuickTime sound's wave).
class COriginalFormatBox : public CBox {
public:
    explicit COriginalFormatBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(32, m_dataFormat); }

    uint32_t m_dataFormat = 0;
};
