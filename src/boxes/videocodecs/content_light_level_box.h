#pragma once
#include <cstdint>

#include "boxes/box.h"

// clli: the content's maximum light level and maximum frame-average light level, cd/m2.
class CContentLightLevelBox : public CBox {
public:
    explicit CContentLightLevelBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_maxContentLightLevel = 0;     // 16
    uint32_t m_maxPicAverageLightLevel = 0;  // 16
};
