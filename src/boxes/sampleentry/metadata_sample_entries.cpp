#include "boxes/sampleentry/metadata_sample_entries.h"

#include "base/log.h"
#include "boxes/sampleentry/uri_boxes.h"


int CXMLMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_namespace, &m_schemaLocation})
        if (ReadEntryString(reader, *s) < 0) return -1;
    return ParseEntryChildren(*this, reader);
}

int CTextMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_mimeFormat})
        if (ReadEntryString(reader, *s) < 0) return -1;
    return ParseEntryChildren(*this, reader);
}

int CURIMetaSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    static const ContainerTexts texts{"[CURIMetaSampleEntry::ParseBox] box size is larger than 8bytes - %d",
                                      "[CURIMetaSampleEntry::ParseBox] Box parsing error",
                                      "[CURIMetaSampleEntry::ParseBox] Unknown Box Type - %s",
                                      " Fail to parse a URI Meta Sample Entry ~~", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("uri "): return Known<CURIBox>(h);
            case FourCC("uriI"): return Known<CURIInitBox>(h);
            default: return EntryChild(h);
        }
    });
}
