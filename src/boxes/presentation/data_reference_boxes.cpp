#include "boxes/presentation/data_reference_boxes.h"

#include "base/log.h"
#include "boxes/child_loop.h"

int CDataReferencebox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CDataReferencebox::ParseBox] Parsing Error");
        return -1;
    }
    if (reader.ReadBits(32, m_entryCount) < 0) return -1;
    CORVEL_LOG("[Data Reference Box] Entry count :(%ld)", static_cast<long>(m_entryCount));
    static const ContainerTexts texts{nullptr, nullptr, "[CDataReferencebox::ParseBox] unknow box type ... - %s",
                                      "[CDataReferencebox::ParseBox] Box parsing error", nullptr,
                                      /*failOnHeader=*/true};
    const int status = ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("url "):
                LogDispatch(19, "##### Data Reference Box('url ')");
                return Known<CDataEntryUrlBox>(h);
            case FourCC("urn "):
                LogDispatch(19, "##### Data Reference Box('urn ')");
                return Known<CDataEntryUrnBox>(h);
            default:
                return Unknown();
        }
    });
    if (status < 0) return status;
    // The payload ends before the entries its count announces.
    if (GetChildCount() < m_entryCount) {
        CORVEL_LOG("[CDataReferencebox::ParseBox] %zu of %u entries", GetChildCount(), m_entryCount);
        return -1;
    }
    return 0;
}

int CDataEntryUrlBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CDataEntryUrlBox::ParseBox] Parsing Error");
        return -1;
    }
    if (reader.ReadBytes(reader.PresentBytes(), m_location) < 0) return -1;
    CORVEL_LOG("[Data Entry Url Box] location :(%s)", m_location.c_str());
    return 0;
}

int CDataEntryUrnBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) {
        CORVEL_LOG("[CDataEntryUrnBox::ParseBox] Parsing Error");
        return -1;
    }
    // The location may run to the end of the payload without a zero byte.
    if (reader.ReadString(m_name) == 0) reader.ReadString(m_location);
    CORVEL_LOG("[Data Entry Urn Box] location :(%s)", m_location.c_str());
    return 0;
}
