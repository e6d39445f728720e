#include "boxes/sampleentry/text_sample_entry.h"

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/sampletable/table_reader.h"

int CTextSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    const std::pair<uint32_t*, uint32_t> fields[] = {
        {&m_displayFlags, 32}, {&m_horizontalJustification, 8}, {&m_verticalJustification, 8},
        {&m_backgroundColorRGBA, 32}, {&m_boxTop, 16}, {&m_boxLeft, 16}, {&m_boxBottom, 16}, {&m_boxRight, 16},
        {&m_startChar, 16}, {&m_endChar, 16}, {&m_fontID, 16}, {&m_faceStyleFlags, 8}, {&m_fontSize, 8},
        {&m_textColorRGBA, 32}};
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    static const ContainerTexts texts{"[CTextSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                      "[CTextSampleEntry::ParseBox] Box parsing error",
                                      "[CTextSampleEntry::ParseBox] unknow box type ... - %s",
                                      " Fail to parse a Text Sample Entry Box~~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type != FourCC("ftab")) return EntryChild(h);
        LogDispatch(23, "##### Font Table Box('ftab')");
        return Known<CFontTableBox>(h);
    });
}

int CFontTableBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(16, m_entryCount) < 0) return -1;
    // Each record takes at least its id and length bytes.
    return ReadEach(reader, m_entryCount, 3, m_records, [&reader, this](FontRecord& font) {
        if (reader.ReadBits(16, font.fontID) < 0 || reader.ReadBits(8, font.nameLength) < 0 ||
            reader.ReadBytes(font.nameLength, font.name) < 0)
            return -1;
        CORVEL_LOG("[Font Table Box][%d] font_id: %d, font_name_leng: %d, font_name: %s",
                   static_cast<int>(m_records.size() - 1), static_cast<int>(font.fontID),
                   static_cast<int>(font.nameLength), font.name.c_str());
        return 0;
    });
}
