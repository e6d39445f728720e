#pragma once
#include <string>

#include "boxes/sampleentry/sample_entry.h"

// The base of the timed metadata entries.
class CMetaDataSampleEntry : public CSampleEntry {
public:
    explicit CMetaDataSampleEntry(const CBox& header) : CSampleEntry(header) {}
};

// metx: XML metadata, described by three zero-terminated strings, then its boxes.
class CXMLMetaDataSampleEntry : public CMetaDataSampleEntry {
public:
    explicit CXMLMetaDataSampleEntry(const CBox& header) : CMetaDataSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_contentEncoding;
    std::string m_namespace;
    std::string m_schemaLocation;
};

// mett: text metadata, described by two zero-terminated strings, then its boxes.
class CTextMetaDataSampleEntry : public CMetaDataSampleEntry {
public:
    explicit CTextMetaDataSampleEntry(const CBox& header) : CMetaDataSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_contentEncoding;
    std::string m_mimeFormat;
};

// urim: URI metadata: its boxes (uri , uriI) after the data reference index.
class CURIMetaSampleEntry : public CMetaDataSampleEntry {
public:
    explicit CURIMetaSampleEntry(const CBox& header) : CMetaDataSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
