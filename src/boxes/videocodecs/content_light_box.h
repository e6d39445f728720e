#pragma once
#include <cstdint>

#include "boxes/box.h"

// CoLL: the content light levels of the VP codec binding, cd/m2.
class CContentLightBox : public CFullBox {
public:
    explicit CContentLightBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_maxCLL = 0;   // 16
    uint32_t m_maxFALL = 0;  // 16
};
