#include "boxes/sampleentry/metadata_sample_entries.h"

#include <algorithm>

#include "base/log.h"
#include "boxes/sampleentry/uri_boxes.h"

namespace {
// Reads a string up to its zero byte (read, not kept) or to the end of the bytes.
int ReadZeroTerminated(CBitStreamReader& reader, std::string& out) {
    const uint8_t* first = reader.CurrentByte();
    const uint64_t present = reader.PresentBytes();
    const uint8_t* zero = present ? std::find(first, first + present, 0) : first;
    const bool terminated = zero != first + present;
    if (reader.ReadBytes(uint64_t(zero - first) + (terminated ? 1 : 0), out) < 0) return -1;
    if (terminated) out.pop_back();
    return 0;
}
}  // namespace

int CXMLMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_namespace, &m_schemaLocation})
        if (ReadZeroTerminated(reader, *s) < 0) return -1;
    return ParseEntryChildren(*this, reader);
}

int CTextMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_mimeFormat})
        if (ReadZeroTerminated(reader, *s) < 0) return -1;
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
