#include "boxes/box.h"
#include "report/box_rows.h"
#include "report/box_titles.h"
#include "report/format.h"
#include "report/report_page.h"

namespace {
// The rows every box page starts with.
ReportTable CommonHeaderTable(const std::string& title, const CBox& box) {
    ReportTable table(title);
    table.AddRow("Start offset", I64Text(box.m_startOffset));
    table.AddRow("Box size", box.m_size == 1 ? U64Text(box.m_largeSize) : U32Text(box.m_size));
    table.AddRow("Box type", FourCCValue(box.m_type) + Text(Format(" (0X%08X)", box.m_type)));
    if (box.m_type == FourCC("uuid")) table.AddRow("User type", FormatBytesText(box.m_userType, 16));
    if (const auto* full = dynamic_cast<const CFullBox*>(&box)) {
        table.AddRow("Version", U32Text(full->m_version));
        table.AddRow("Flags", U32Text(full->m_flags));
    }
    return table;
}
}  // namespace

PageModel BuildBoxPage(const CBox* parent, const CBox& box, const CCorvel* parser, const ReportPage* out) {
    PageModel page;
    page.box = &box;
    page.title = BoxPageTitle(parent, box);
    if (page.title.empty()) return page;  // head and foot only
    page.tables.push_back(CommonHeaderTable(page.title, box));
    const RowContext ctx{parent, parser, out ? out->IconPath() : "", out ? out->SubPagePrefix() : ""};
    AddOwnRows(page, box, ctx);
    return page;
}
