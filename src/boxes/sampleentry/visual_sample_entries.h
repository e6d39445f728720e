#pragma once
#include <cstdint>
#include <string>

#include "boxes/sampleentry/sample_entry.h"

// A video sample entry: the visual fields, then a clap and a pasp when they come
// first, then the boxes after them (the entry classes of mp4v, avc1, hev1 and hvc1
// read those their own way).
class CVisualSampleEntry : public CSampleEntry {
public:
    explicit CVisualSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The visual fields and the clap and pasp that come first.
    int ReadVisualFields(CBitStreamReader& reader);

    // The compressor name up to its first zero byte.
    std::string GetCompressorName() const { return m_compressorName.substr(0, m_compressorName.find('\0')); }

    uint32_t m_preDefined1 = 0;  // 16
    uint32_t m_reserved1 = 0;    // 16
    uint32_t m_preDefined2[3] = {};
    uint32_t m_width = 0;   // 16
    uint32_t m_height = 0;  // 16
    uint32_t m_horizResolution = 0;
    uint32_t m_vertResolution = 0;
    uint32_t m_reserved2 = 0;
    uint32_t m_frameCount = 0;     // 16
    uint32_t m_compressorNameLength = 0;  // 8
    std::string m_compressorName;  // the 31 bytes after its length byte, zero bytes included
    uint32_t m_depth = 0;          // 16
    uint32_t m_preDefined3 = 0;    // 16
};

// avc1 (and an entry coded avcC): the visual part, then its boxes: avcC, btrt, m4ds.
class CAVCSampleEntrty : public CVisualSampleEntry {
public:
    explicit CAVCSampleEntrty(const CBox& header) : CVisualSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// hvc1, hev1: the visual part, then its boxes: hvcC, btrt, m4ds.
class CHEVCSampleEntry : public CVisualSampleEntry {
public:
    explicit CHEVCSampleEntry(const CBox& header) : CVisualSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// mp4v: the visual part, then the box after it read as its esds, then the boxes after that.
class CMPEG4VisualSampleEntry : public CVisualSampleEntry {
public:
    explicit CMPEG4VisualSampleEntry(const CBox& header) : CVisualSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// avcp met directly in a sample table: the visual part, then its avcC.
class CAVCParameterSampleEntry : public CVisualSampleEntry {
public:
    explicit CAVCParameterSampleEntry(const CBox& header) : CVisualSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
