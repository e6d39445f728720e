#pragma once
#include <string>

#include "boxes/sampleentry/sample_entry.h"

// stpp: XML subtitles (TTML), described by three zero-terminated strings, then its boxes.
class CXMLSubtitleSampleEntry : public CSampleEntry {
public:
    explicit CXMLSubtitleSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_namespace;
    std::string m_schemaLocation;
    std::string m_auxiliaryMimeTypes;
};

// mime: the MIME type of an entry's content, with its parameters.
class CMIMEBox : public CFullBox {
public:
    explicit CMIMEBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_contentType;
};
