#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/sampleentry/sample_entry.h"

// An entry of a text or subtitle track: the text display fields, then its boxes (ftab).
class CTextSampleEntry : public CSampleEntry {
public:
    explicit CTextSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_displayFlags = 0;
    uint32_t m_horizontalJustification = 0;  // 8, without sign
    uint32_t m_verticalJustification = 0;    // 8, without sign
    uint32_t m_backgroundColorRGBA = 0;
    uint32_t m_boxTop = 0;  // the box record, 16 bits each
    uint32_t m_boxLeft = 0;
    uint32_t m_boxBottom = 0;
    uint32_t m_boxRight = 0;
    uint32_t m_startChar = 0;  // the style record
    uint32_t m_endChar = 0;
    uint32_t m_fontID = 0;
    uint32_t m_faceStyleFlags = 0;  // 8
    uint32_t m_fontSize = 0;        // 8
    uint32_t m_textColorRGBA = 0;
};

// ftab: the fonts of a text entry.
class CFontTableBox : public CBox {
public:
    struct FontRecord {
        uint32_t fontID = 0;      // 16
        uint32_t nameLength = 0;  // 8
        std::string name;
    };
    explicit CFontTableBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // Null at or past the stored records.
    const FontRecord* GetFontRecord(size_t i) const { return i < m_records.size() ? &m_records[i] : nullptr; }

    uint32_t m_entryCount = 0;  // 16
    std::vector<FontRecord> m_records;
};
