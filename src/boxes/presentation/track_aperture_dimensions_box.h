#pragma once
#include <cstdint>

#include "boxes/box.h"

// clef, prof, enof (QuickTime, in tapt): a track's clean aperture, production aperture
// and encoded pixels dimensions, each a 16.16 width and height.
class CTrackApertureDimensionsBox : public CFullBox {
public:
    explicit CTrackApertureDimensionsBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_width = 0;   // 16.16
    uint32_t m_height = 0;  // 16.16
};
