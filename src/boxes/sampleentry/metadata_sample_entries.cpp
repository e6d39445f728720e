#include "boxes/sampleentry/metadata_sample_entries.h"

#include <algorithm>

#include "base/log.h"

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

// Bytes after the last string are read through.
void ReadExtra(CBitStreamReader& reader, const char* log) {
    if (reader.RemainingBytes()) CORVEL_LOG(log, static_cast<int>(reader.RemainingBytes()));
    reader.SkipBits(reader.RemainingBits);
}
}  // namespace

int CXMLMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_namespace, &m_schemaLocation})
        if (ReadZeroTerminated(reader, *s) < 0) return -1;
    ReadExtra(reader, "[CXMLMetaDataSampleEntry] There should not be more data - %d bytes");
    return 0;
}

int CTextMetaDataSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    for (std::string* s : {&m_contentEncoding, &m_mimeFormat})
        if (ReadZeroTerminated(reader, *s) < 0) return -1;
    ReadExtra(reader, "[CTextMetaDataSampleEntry::ParseBox] There should not be more data - %d bytes");
    return 0;
}
