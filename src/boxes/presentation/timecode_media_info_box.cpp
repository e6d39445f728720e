#include "boxes/presentation/timecode_media_info_box.h"

#include <algorithm>

int CTimecodeMediaInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    for (uint32_t* f : {&m_textFont, &m_textFace, &m_textSize, &m_reserved})
        if (reader.ReadBits(16, *f) < 0) return -1;
    for (uint32_t& c : m_textColor)
        if (reader.ReadBits(16, c) < 0) return -1;
    for (uint32_t& c : m_backgroundColor)
        if (reader.ReadBits(16, c) < 0) return -1;
    // Some writers end the box before the font name.
    if (reader.PresentBytes() == 0) return 0;
    if (reader.ReadBits(8, m_fontNameLength) < 0) return -1;
    // A count past the payload reads what is there and fails the box.
    const uint64_t held = std::min<uint64_t>(m_fontNameLength, reader.PresentBytes());
    if (reader.ReadBytes(held, m_fontName) < 0) return -1;
    return held == m_fontNameLength ? 0 : -1;
}
