#include "boxes/protection/protection_boxes.h"

#include "boxes/child_loop.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/protection/protection_system_header_box.h"
#include "boxes/protection/track_encryption_box.h"
#include "boxes/streaming/user_types.h"

int CProtectionSchemeInfoBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{nullptr, "[CProtectionSchemeInfoBox::ParseBox] Box parsing error",
                                      "[CProtectionSchemeInfoBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("frma"): return Known<COriginalFormatBox>(h);
            case FourCC("schm"): return Known<CSchemeTypeBox>(h);
            case FourCC("schi"): return Known<CSchemeInformationBox>(h);
            default: return FreeSpaceOrUnknown(h);
        }
    });
}

uint32_t CProtectionSchemeInfoBox::OriginalFormat() const {
    for (const auto& child : m_children)
        if (const auto* frma = dynamic_cast<const COriginalFormatBox*>(child.get())) return frma->m_dataFormat;
    return 0;
}

int COriginalFormatBox::ParseBox(CBitStreamReader& reader) { return reader.ReadBits(32, m_dataFormat) < 0 ? -1 : 0; }

int CSchemeTypeBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(32, m_schemeType) < 0 ||
        reader.ReadBits(32, m_schemeVersion) < 0)
        return -1;
    if ((m_flags & 1) && reader.ReadBytes(reader.PresentBytes(), m_schemeUri) < 0) return -1;
    return 0;
}

int CSchemeInformationBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{nullptr, "[CSchemeInformationBox::ParseBox] Box parsing error",
                                      "[CSchemeInformationBox::ParseBox] Unknown Box Type - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("tenc") || HasUserType(h, kPiffTrackEncryptionUserType))
            return Known<CTrackEncryptionBox>(h);
        return FreeSpaceOrUnknown(h);
    });
}

ChildMade ProtectionSystemChild(const CBox& h) {
    if (h.m_type == FourCC("pssh") || HasUserType(h, kPiffProtectionSystemUserType))
        return Known<CProtectionSystemHeaderBox>(h);
    return FreeSpaceOrUnknown(h);
}

uint32_t OriginalFormatOf(const CBox& entry) {
    for (const auto& child : entry.m_children)
        if (const auto* sinf = dynamic_cast<const CProtectionSchemeInfoBox*>(child.get());
            sinf && child->m_type == FourCC("sinf"))
            if (const uint32_t format = sinf->OriginalFormat()) return format;
    return entry.m_type;
}
