#include "boxes/metadata/tag_boxes.h"

#include "base/log.h"

namespace {
// Version and flags, the pad bit, the three language codes, then the text to the end.
int ReadLanguageText(CBitStreamReader& reader, CFullBox& box, uint32_t& pad, uint32_t (&language)[3],
                     std::string& text) {
    if (box.CFullBox::ParseBox(reader) < 0 || reader.ReadBits(1, pad) < 0) return -1;
    for (uint32_t& code : language)
        if (reader.ReadBits(5, code) < 0) return -1;
    return reader.ReadBytes(reader.PresentBytes(), text);
}
}  // namespace

int CTagBox::ParseBox(CBitStreamReader& reader) {
    const int status = ReadLanguageText(reader, *this, m_pad, m_language, m_tagString);
    CORVEL_LOG("[CTagBox::ParseBox] TagString: %s", m_tagString.c_str());
    return status;
}

int CCopyrightBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("cprt")) return -1;
    const int status = ReadLanguageText(reader, *this, m_pad, m_language, m_notice);
    CORVEL_LOG("[CCopyrightBox::ParseBox] notice: %s", m_notice.c_str());
    return status;
}
