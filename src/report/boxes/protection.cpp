// The pages of the protection boxes of a protected or restricted sample entry.
#include "boxes/protection/protection_boxes.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {
// The Common Encryption schemes and PIFF's, by their scheme type.
const char* SchemeName(uint32_t type) {
    switch (type) {
        case FourCC("cenc"): return "AES-CTR, full samples or subsamples";
        case FourCC("cbc1"): return "AES-CBC, full samples or subsamples";
        case FourCC("cens"): return "AES-CTR, subsample pattern";
        case FourCC("cbcs"): return "AES-CBC, subsample pattern, constant IV";
        case FourCC("piff"): return "PIFF (AES-CTR or AES-CBC)";
        default: return nullptr;
    }
}

void OriginalFormatRows(PageBuilder& page, const COriginalFormatBox& b) {
    MoreFields(page).Row("Data format", CodeText(b.m_dataFormat), {b.m_dataFormat});
}

void SchemeTypeRows(PageBuilder& page, const CSchemeTypeBox& b) {
    MoreFields(page);
    Text type = CodeText(b.m_schemeType);
    if (const char* name = SchemeName(b.m_schemeType)) type += Text(std::string(" ") + name);
    page.Row("Scheme type", type, {b.m_schemeType});
    page.Row("Scheme version", Format("%u.%u (0X%08X)", b.m_schemeVersion >> 16, b.m_schemeVersion & 0xFFFF,
                                      b.m_schemeVersion),
             {b.m_schemeVersion});
    if (b.m_flags & 1) page.Row("Scheme URI", StringValue(b.m_schemeUri), {b.m_schemeUri});
}

const BoxEntry kEntries[] = {
    {FourCC("frma"), "Original Format Box", nullptr, RowsOf<COriginalFormatBox, OriginalFormatRows>},
    {FourCC("schm"), "Scheme Type Box", nullptr, RowsOf<CSchemeTypeBox, SchemeTypeRows>},
    {FourCC("schi"), "Scheme Information Box"},
    {FourCC("sinf"), "Protection Scheme Information Box"},
    {FourCC("rinf"), "Restricted Scheme Information Box"},
};
}  // namespace

std::span<const BoxEntry> ProtectionEntries() { return kEntries; }
