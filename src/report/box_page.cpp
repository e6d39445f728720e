#include "report/box_page.h"

#include <algorithm>

#include "boxes/box.h"
#include "boxes/containers/corvel.h"
#include "boxes/metadata/user_data_text_box.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "report/coverage.h"

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
        page.RowAt(kBytesPresentLabel, U64Text(box.PresentSize()), Span::Bytes(start, box.PresentSize()), true);
}

// The rows of the box's own fields, after the common header table.
void BoxRows(PageBuilder& builder, PageModel& page, const CBox& box, const PageContext& context) {
    CommonHeaderTable(builder, page.title, box);
    const BoxEntry* entry = FindBoxEntry(box.m_type);
    // A sample entry whose type has no entry of its own shows the rows of its class.
    if (!entry && context.parent && context.parent->m_type == FourCC("stsd")) SampleEntryRows(builder, box);
    if (entry && entry->rows) entry->rows(builder, box);
    // A reference type's code may be any (hint, cdsc, chap ...): the track ids go by the parent.
    if (context.parent && context.parent->m_type == FourCC("tref")) TrackReferenceRows(builder, box);
    if (context.parent && context.parent->m_type == FourCC("iref")) ItemReferenceRows(builder, box);
    if (context.parent && context.parent->m_type == FourCC("grpl") && !entry) EntityGroupRows(builder, box);
    if (!entry) UserDataTextRows(builder, box);
    if (!entry || !entry->rows) return;
    // The select offers the pages of the entries the box holds, not of its count field.
    if (entry->entries)
        for (ReportTable& table : page.tables)
            if (table.kind == TableKind::EntryPages)
                table.entryCount =
                    static_cast<uint32_t>(std::min<uint64_t>(table.entryCount, entry->entries(box).count));
}

// At most this many of a gap's first bytes are shown.
constexpr uint32_t kShownBytes = 32;

// The bytes of the box no row explains: one row per gap, with its first bytes. Only
// known once the page's rows know where they lie; media data is never undecoded.
void UndecodedRows(PageBuilder& builder, PageModel& page, const CBox& box, const PageContext& context) {
    // A sub page's model holds the rows of one table only: its gaps are the box page's.
    if (!context.spans || HoldsMediaData(box) || context.window.mode == RowWindow::SubPage) return;
    page.undecoded = Gaps(PresentRange(box), ExplainedRanges(page, box));
    if (page.undecoded.empty()) return;
    builder.List(kUndecodedTitle, {"Offset", "Length", "Bytes"});
    // A long list is paged like any other: a gap's bytes are read only for the rows shown.
    for (const ByteRange& gap : page.undecoded)
        builder.ListEntryAt(
            [&]() -> std::vector<Text> {
                uint8_t bytes[kShownBytes];
                const uint64_t shown =
                    context.parser ? context.parser->ReadBytes(gap.offset, bytes, std::min<uint64_t>(gap.length, kShownBytes))
                                   : 0;
                std::string hex = FormatBytesText(bytes, shown);
                if (shown < gap.length) hex += " ...";
                return {U64Text(gap.offset), Decimal(gap.length), hex};
            },
            Span::Bytes(gap.offset, gap.length));
}
}  // namespace

const char* SampleEntryTitle(uint32_t handlerType) {
    switch (handlerType) {
        case FourCC("soun"): return "Audio Sample Entry Box";
        case FourCC("vide"):
        case FourCC("pict"): return "Visual Sample Entry Box";
        case FourCC("text"):
        case FourCC("sbtl"):
        case FourCC("subt"): return "Text Sample Entry Box";
        case FourCC("meta"): return "The Meta Box";
        case FourCC("clcp"): return "Closed Caption Sample Entry Box";
        case FourCC("tmcd"): return "Timecode Sample Entry Box";
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
    // A reference type's code may be any, some shared with other boxes (cdsc, iloc).
    if (parent && parent->m_type == FourCC("iref")) return "Single Item Type Reference Box";
    if (const BoxEntry* entry = FindBoxEntry(box.m_type))
        return entry->title ? entry->title : entry->titleRule(parent, box);
    if (!parent) return "";
    if (parent->m_type == FourCC("stsd")) return SampleEntryTitle(SampleDescriptionHandlerType(*parent));
    if (parent->m_type == FourCC("grpl")) return "Entity To Group Box";
    if (dynamic_cast<const CUserDataTextBox*>(&box)) return "User Data Text Box";
    return "Box";
}

PageModel BuildBoxPage(const CBox& box, const PageContext& context) {
    PageModel page;
    page.box = &box;
    page.title = BoxPageTitle(context.parent, box);
    PageBuilder builder(page, context);
    // A page without a title (a type without an entry at the top level) has no rows.
    if (!page.title.empty()) BoxRows(builder, page, box, context);
    UndecodedRows(builder, page, box, context);
    return page;
}
