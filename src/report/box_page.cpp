#include "report/box_page.h"

#include <algorithm>

#include "boxes/box.h"
#include "boxes/sampleentry/sample_description_box.h"

namespace {
// The handler type an stsd holds for its track (0 for a plain box coded stsd).
uint32_t SampleDescriptionHandlerType(const CBox& stsd) {
    const auto* box = dynamic_cast<const CSampleDescriptionBox*>(&stsd);
    return box ? box->GetHandlerType() : 0;
}

// The rows every box page starts with. Their fields lie in the header, whose layout
// is fixed: size, type, then the large size and the user type when present, then
// version and flags.
void CommonHeaderTable(PageBuilder& page, const std::string& title, const CBox& box) {
    const uint64_t start = uint64_t(box.m_startOffset);
    const uint64_t userType = box.m_size == 1 ? 16 : 8;
    const uint64_t payload = userType + (box.m_type == FourCC("uuid") ? 16 : 0);
    page.Table(title);
    page.RowAt("Start offset", I64Text(box.m_startOffset), Span::Bytes(start, payload), true);
    if (box.m_size == 1)
        page.RowAt("Box size", U64Text(box.LargeSize()), Span::Bytes(start + 8, 8));
    else
        page.RowAt("Box size", U32Text(box.m_size), Span::Bytes(start, 4));
    page.RowAt("Box type", FourCCValue(box.m_type) + Text(Format(" (0X%08X)", box.m_type)), Span::Bytes(start + 4, 4));
    if (box.m_type == FourCC("uuid"))
        page.RowAt("User type", FormatBytesText(box.UserType(), 16), Span::Bytes(start + userType, 16));
    if (const auto* full = dynamic_cast<const CFullBox*>(&box); full && full->m_hasVersionAndFlags) {
        page.RowAt("Version", U32Text(full->m_version), Span::Bytes(start + payload, 1));
        page.RowAt("Flags", U32Text(full->m_flags), Span::Bytes(start + payload + 1, 3));
    }
    // A box the file ends inside: how much of it is there.
    if (box.IsTruncated())
        page.RowAt("Bytes present", U64Text(box.PresentSize()), Span::Bytes(start, box.PresentSize()), true);
}
}  // namespace

const char* SampleEntryTitle(uint32_t handlerType) {
    switch (handlerType) {
        case FourCC("soun"): return "Audio Sample Entry Box";
        case FourCC("vide"): return "Visual Sample Entry Box";
        case FourCC("text"):
        case FourCC("sbtl"): return "Text Sample Entry Box";
        case FourCC("meta"): return "The Meta Box";
        case FourCC("odsm"):
        case FourCC("crsm"):
        case FourCC("sdsm"):
        case FourCC("m7sm"):
        case FourCC("ocsm"):
        case FourCC("ipsm"):
        case FourCC("mjsm"): return "MPEG Sample Entry Box";
        default: return "Box";
    }
}

std::string BoxPageTitle(const CBox* parent, const CBox& box) {
    if (const BoxEntry* entry = FindBoxEntry(box.m_type))
        return entry->title ? entry->title : entry->titleRule(parent, box);
    if (!parent) return "";
    if (parent->m_type == FourCC("stsd")) return SampleEntryTitle(SampleDescriptionHandlerType(*parent));
    return "Box";
}

PageModel BuildBoxPage(const CBox& box, const PageContext& context) {
    PageModel page;
    page.box = &box;
    page.title = BoxPageTitle(context.parent, box);
    if (page.title.empty()) return page;  // head and foot only
    PageBuilder builder(page, context);
    CommonHeaderTable(builder, page.title, box);
    const BoxEntry* entry = FindBoxEntry(box.m_type);
    // A sample entry whose type has no entry of its own shows the rows of its class.
    if (!entry && context.parent && context.parent->m_type == FourCC("stsd")) SampleEntryRows(builder, box);
    if (!entry || !entry->rows) return page;
    entry->rows(builder, box);
    // The select offers the pages of the entries the box holds, not of its count field.
    if (entry->entries)
        for (ReportTable& table : page.tables)
            if (table.kind == TableKind::EntryPages)
                table.entryCount = static_cast<uint32_t>(std::min<uint64_t>(table.entryCount, entry->entries(box).count));
    return page;
}
