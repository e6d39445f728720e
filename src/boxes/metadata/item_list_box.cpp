#include "boxes/metadata/item_list_box.h"

#include "base/log.h"

int CIlstBox::ParseBox(CBitStreamReader& reader) {
    // Records up to the end of the payload, each at least a header long: reserved for as
    // many as the payload holds, so none moves once read.
    m_records.reserve(reader.PresentBytes() / kRecordHeaderBytes);
    int status = 0;
    while (status == 0 && reader.RemainingBits > 0) {
        if (m_records.size() == m_records.capacity()) {
            status = -1;  // the bytes end inside a record header
            break;
        }
        Record& r = m_records.emplace_back();
        if (reader.ReadBits(32, r.tagLength) < 0 || reader.ReadBits(32, r.tagName) < 0 ||
            reader.ReadBits(32, r.dataLength) < 0 || reader.ReadBits(32, r.dataTag) < 0 ||
            reader.ReadBits(32, r.dataType) < 0 || reader.ReadBits(32, r.reserved) < 0) {
            status = -1;
        } else if (r.tagLength < kRecordHeaderBytes) {
            CORVEL_LOG("[CIlstBox::ParseBox] record %zu ('%s'): tag length %u is shorter than a record header",
                       m_records.size(), FourCCText(r.tagName).c_str(), r.tagLength);
            status = -1;
        } else {
            status = reader.ReadBytes(r.tagLength - kRecordHeaderBytes, r.payload);
        }
        if (status < 0) m_records.pop_back();  // the records before it stay
    }
    m_tagCount = static_cast<uint32_t>(m_records.size());
    CORVEL_LOG("[CIlstBox::ParseBox] TagCount: %ld", static_cast<long>(m_tagCount));
    return status;
}
