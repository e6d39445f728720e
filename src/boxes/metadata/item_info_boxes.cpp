#include "boxes/metadata/item_info_boxes.h"

#include "base/log.h"
#include "boxes/child_loop.h"
#include "boxes/sampletable/table_reader.h"

int CItemInfoBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(m_version == 0 ? 16 : 32, m_entryCount) < 0) return -1;
    static const ContainerTexts texts{"[CItemInfoBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CSubTrackBox::ParseBox] Box parsing error",
                                      "[CItemInfoBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type != FourCC("infe")) return Unknown();
        LogDispatch(1, "##### Item Info Entry Box('infe')");
        return Known<CItemInfoEntry>(h);
    });
}

int CFDItemInfoExtension::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadString(m_contentLocation) < 0 || reader.ReadString(m_contentMD5) < 0 ||
        reader.ReadBits(64, m_contentLength) < 0 || reader.ReadBits(64, m_transferLength) < 0 ||
        reader.ReadBits(8, m_entryCount) < 0)
        return -1;
    return ReadTable(reader, m_entryCount, 4, m_groupIds, [](const uint8_t* p) { return Be32(p); });
}

namespace {
// A string the format marks optional: absent when the payload ends where it would start.
int ReadOptionalString(CBitStreamReader& reader, std::string& out) {
    return reader.PresentBytes() == 0 ? 0 : reader.ReadString(out);
}
}  // namespace

int CItemInfoEntry::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (m_version <= 1) {
        if (reader.ReadBits(16, m_itemID) < 0 || reader.ReadBits(16, m_itemProtectionIndex) < 0 ||
            reader.ReadString(m_itemName) < 0 || reader.ReadString(m_contentType) < 0 ||
            ReadOptionalString(reader, m_contentEncoding) < 0)
            return -1;
        if (m_version == 0 || reader.PresentBytes() == 0) return 0;
        if (reader.ReadBits(32, m_extensionType) < 0) return -1;
        // The extension as a box of its own (a child), or as its fields alone.
        const uint64_t size = PeekBoxSize(reader);
        if (PeekBoxType(reader) == FourCC("fdel") && size >= 8 && size <= reader.RemainingBytes()) {
            static const ContainerTexts texts{nullptr, "[CSubTrackBox::ParseBox] Box parsing error",
                                              "[CSubTrackBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
            return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
                if (h.m_type != FourCC("fdel")) return Unknown();
                return Known<CFDItemInfoExtension>(h);
            });
        }
        if (m_extensionType != FourCC("fdel")) return 0;
        m_extension = std::make_unique<CFDItemInfoExtension>(CBox());
        return m_extension->ParseBox(reader);
    }
    if (m_version > 3) return 0;
    if (reader.ReadBits(m_version == 3 ? 32 : 16, m_itemID) < 0 || reader.ReadBits(16, m_itemProtectionIndex) < 0 ||
        reader.ReadBits(32, m_itemType) < 0 || reader.ReadString(m_itemName) < 0)
        return -1;
    CORVEL_LOG("[CItemInfoEntry::ParseBox] item_ID: %ld, item_type: %s", static_cast<long>(m_itemID),
               FourCCText(m_itemType).c_str());
    if (m_itemType == FourCC("mime"))
        return reader.ReadString(m_contentType) < 0 || ReadOptionalString(reader, m_contentEncoding) < 0 ? -1 : 0;
    if (m_itemType == FourCC("uri ")) return reader.ReadString(m_itemUriType);
    return 0;
}
