#include "boxes/sampleentry/xml_subtitle_sample_entry.h"

int CXMLSubtitleSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_namespace, &m_schemaLocation, &m_auxiliaryMimeTypes})
        if (ReadEntryString(reader, *s) < 0) return -1;
    return ParseEntryChildren(*this, reader);
}

int CMIMEBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return ReadEntryString(reader, m_contentType);
}
