#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"

// tcmi (QuickTime, in gmhd/tmcd): how a player draws a timecode track's text.
class CTimecodeMediaInfoBox : public CFullBox {
public:
    explicit CTimecodeMediaInfoBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_textFont = 0;            // 16: a font number
    uint32_t m_textFace = 0;            // 16: style bits (bold 1, italic 2, underline 4, ...)
    uint32_t m_textSize = 0;            // 16: points
    uint32_t m_reserved = 0;            // 16
    uint32_t m_textColor[3] = {};       // 16 each: red, green, blue
    uint32_t m_backgroundColor[3] = {};
    uint32_t m_fontNameLength = 0;      // 8: the Pascal string's count
    std::string m_fontName;             // that many bytes, or those the payload holds
};
