#pragma once
#include <cstdint>

#include "boxes/box.h"

// d263 (3GPP): the H.263 decoder's configuration in an s263 entry.
class CH263ConfigBox : public CBox {
public:
    explicit CH263ConfigBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_vendor = 0;
    uint32_t m_decoderVersion = 0;  // 8
    uint32_t m_level = 0;           // 8
    uint32_t m_profile = 0;         // 8
};
