#pragma once
#include <cstdint>

#include "boxes/box.h"

// gmin (QuickTime, in gmhd): how a track with no media header of its own (text,
// timecode) is drawn and heard.
class CGenericMediaInfoBox : public CFullBox {
public:
    explicit CGenericMediaInfoBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_graphicsMode = 0;  // 16
    uint32_t m_opcolor[3] = {};   // 16 each: red, green, blue
    uint32_t m_balance = 0;       // 16, signed 8.8
    uint32_t m_reserved = 0;      // 16
};
