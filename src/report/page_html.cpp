#include "report/page_html.h"

#include <cinttypes>
#include <filesystem>
#include <system_error>

#include "boxes/box.h"
#include "report/format.h"
#include "report/markup.h"
#include "report/page_protocol.h"
#include "report/sub_pages.h"

namespace {
// The paths a page names: the title icon and the sub-page folder.
struct PagePaths {
    const std::string& icon;
    const std::string& prefix;
    const std::string& IconPath() const { return icon; }
    const std::string& SubPagePrefix() const { return prefix; }
};

std::string KeyValueMarkup(const PagePaths& page, const ReportTable& table) {
    std::string out = kTableOpen + KeyValueTitleRow(page.IconPath(), table.title);
    for (const Row& row : table.rows) {
        out += "<tr>\r\n";
        out += "<td align = \"left\"  bgcolor = #f3f1f1 width = \"35%\">" + row.label + "</td>\r\n";
        out += "<td align = \"left\" bgcolor = white>" + row.value.Html() + "</td>\r\n";
        out += "</tr>\r\n";
    }
    return out + "</table>\r\n" + kSpacer;
}

std::string EntryPagesMarkup(const PagePaths& page, const ReportTable& table, const CBox& box) {
    std::string out = kTableOpen + EntryPagesTitleRow(page.IconPath(), table.title);
    out += "<tr>\r\n<td align = \"left\" bgcolor = white>";
    out += Format("<select name='#' style='width:120;' ID = %s %s = %u  %s = %u>", kEntriesId, kNidAttr, 0u, kBoxAttr,
                  box.m_id);
    out += kSelectPromptOption;
    const uint32_t n = table.entryCount;
    const uint32_t full = n / 200;
    const std::string prefix = AttrText(page.SubPagePrefix());
    const std::string type = FourCCValue(box.m_type).Html();
    for (uint64_t k = 0; 200 * k < n && k < kMaxEntryPageOptions; ++k) {
        const uint32_t first = static_cast<uint32_t>(200 * k);
        const uint32_t last = k < full ? first + 200 : n;
        out += "<option  value = \"" + prefix + Format("%u.html\">", first) + type +
               Format("(%u~%u)</option>", first + 1, last);
    }
    out += "</select>";
    out += "</td>\r\n</tr>\r\n</table>\r\n";
    return out + kSpacer + kFrame;
}

// A paged table on its box page: like the entry pages, a select whose options are its
// sub pages of 200 rows, "TITLE(first~last)", each file named by the table's position
// on the page and its first row. `nid` is the select's place among the page's paged
// tables; the frame comes after it unless the page has one already.
std::string RowPagesMarkup(const PagePaths& page, const ReportTable& table, size_t position, uint32_t nid,
                           const CBox& box, bool frame) {
    std::string out = kTableOpen + EntryPagesTitleRow(page.IconPath(), table.title);
    out += "<tr>\r\n<td align = \"left\" bgcolor = white>";
    out += Format("<select name='#' style='width:120;' ID = %s %s = %u  %s = %u>", kRowPagesId, kNidAttr, nid,
                  kBoxAttr, box.m_id);
    out += kSelectPromptOption;
    const std::string prefix = AttrText(page.SubPagePrefix());
    const uint64_t n = table.rowCount;
    for (uint64_t first = 0, k = 0; first < n && k < kMaxEntryPageOptions; first += kRowsPerSubPage, ++k)
        out += "<option  value = \"" + prefix + RowPageName(position, first) + "\">" + table.title +
               Format("(%" PRIu64 "~%" PRIu64 ")</option>", first + 1, std::min(n, first + kRowsPerSubPage));
    out += "</select>";
    out += "</td>\r\n</tr>\r\n</table>\r\n";
    return out + kSpacer + (frame ? kFrame : "");
}

std::string ListMarkup(const PagePaths& page, const ReportTable& table) {
    const int h = static_cast<int>(table.headers.size());
    const int w = h > 0 ? 100 / h : 100;  // a table without headers must not divide by zero
    std::string out = kTableOpen + ListTitleRow(h, page.IconPath(), table.title);
    out += "<tr>\r\n";
    for (const std::string& header : table.headers)
        out += Format("<td align = \"left\"  bgcolor = #f3f1f1 width = \"%d%%\">", w) + header + "</td>\r\n";
    out += "</tr>\r\n";
    if (h > 0) {
        const std::string cellOpen = Format("<td align = \"left\"  bgcolor = white width = \"%d%%\">", w);
        for (const ListRow& row : table.listRows) {
            out += "<tr>\r\n";
            for (int c = 0; c < h; ++c)
                out += cellOpen + (size_t(c) < row.cells.size() ? row.cells[c].Html() : std::string()) + "</td>\r\n";
            out += "</tr>\r\n";
        }
    }
    return out + "</table>\r\n" + kSpacer;
}

// The options of one select: a block of 200 samples each, the last one (written
// with two blanks) ending at the sample count. `budget` is what is left of the
// options one page may carry.
void AddOptions(std::string& html, const std::string& prefix, const std::string& name, uint32_t s, uint64_t n,
                uint64_t& budget) {
    const uint64_t full = kRowsPerSubPage * (n / kRowsPerSubPage);
    for (uint64_t first = 0; first < n && budget > 0; first += kRowsPerSubPage, --budget) {
        const bool last = first >= full;
        const uint64_t end = last ? n : first + kRowsPerSubPage;
        html += Format(last ? "<option  value = \"%s%u_%" PRIu64 ".html\">" : "<option value = \"%s%u_%" PRIu64 ".html\">",
                       prefix.c_str(), s, first);
        html += Format("%s%u(%" PRIu64 "~%" PRIu64 ")</option>", name.c_str(), s + 1, first + 1, end);
    }
}

// The selects of the samples of each track ("stbl") or of each track fragment ("traf").
std::string SampleListsMarkup(const PagePaths& page, const ReportTable& table) {
    std::string html = kTableOpen + SubTitleRow(6, page.IconPath(), table.title) +
                       "<tr>\r\n<td align = \"left\" bgcolor = white colspan = \"6\">\r\n";
    const std::string prefix = AttrText(page.SubPagePrefix());
    const bool tracks = table.title == "stbl";
    uint64_t budget = kMaxEntryPageOptions;  // the options all selects of the list may still have
    for (uint32_t s = 0; s < table.selects.size(); ++s) {
        const SampleSelect& select = table.selects[s];
        if (tracks)
            html += Format("<select name='#' style='width:120;' ID = %s %s = %u %s= %u  >", kTrackSamplesId, kNidAttr,
                           s, kBoxAttr, select.box);
        else
            html += Format("<select name='#' style='width:120;' ID = %s %s = %u %s= %u %s= %u %s= %u>",
                           kFragmentSamplesId, kNidAttr, s, kBoxAttr, select.box, kMoofAttr, select.moof, kMdatAttr,
                           select.mdat);
        html += kSelectPromptOption;
        AddOptions(html, prefix, table.title, s, select.samples, budget);
        html += "</select>";
    }
    return html + "</td></tr></table>" + kListSpacer + kFrame;
}

// The select of an mdat's FLV tags: one option per tag, its sub page named by its index.
std::string FlvTagsMarkup(const PagePaths& page, const ReportTable& table, const CBox& box) {
    std::string html = kTableOpen;
    html += "<tr>\r\n<td   align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"" + AttrText(page.IconPath()) +
            "\"  align = absmiddle><b> " + table.title + "</b></td>\r\n</tr>\r\n";
    html += "<tr>\r\n<td align = \"left\" bgcolor = white >\r\n";
    html += Format("<select name='#' style='width:120;' ID = %s %s = %u %s= %u  >", kFlvTagsId, kNidAttr, 0u, kBoxAttr,
                   box.m_id);
    html += kSelectPromptOption;
    const std::string prefix = AttrText(page.SubPagePrefix());
    for (uint32_t i = 0; i < table.entryCount && i < kMaxEntryPageOptions; ++i)
        html += "<option value = \"" + prefix + Format("%u.html\">Flv Tag (%u)</option>", i, i + 1);
    html += "</select>";
    return html + "</td></tr></table>" + kListSpacer + kFrame;
}

std::string TableMarkup(const PagePaths& page, const ReportTable& table, const CBox* box) {
    switch (table.kind) {
        case TableKind::KeyValue: return KeyValueMarkup(page, table);
        case TableKind::EntryPages: return box ? EntryPagesMarkup(page, table, *box) : std::string();
        case TableKind::List: return ListMarkup(page, table);
        case TableKind::SampleLists: return SampleListsMarkup(page, table);
        case TableKind::FlvTags: return box ? FlvTagsMarkup(page, table, *box) : std::string();
    }
    return {};
}
}  // namespace

std::string TableHtml(const ReportTable& table, const std::string& iconPath, const std::string& subPagePrefix,
                      const CBox* box) {
    return TableMarkup({iconPath, subPagePrefix}, table, box);
}

std::string RowPageName(size_t table, uint64_t firstRow) {
    return Format("rows%zu_%" PRIu64 ".html", table, firstRow);
}

std::string PageHtml(const PageModel& model, const std::string& iconPath, const std::string& subPagePrefix) {
    const PagePaths paths{iconPath, subPagePrefix};
    std::string out = kPageHead;
    bool frame = false;
    uint32_t paged = 0;
    for (size_t i = 0; i < model.tables.size(); ++i) {
        const ReportTable& table = model.tables[i];
        if (table.Paged() && model.box) {
            out += RowPagesMarkup(paths, table, i, paged++, *model.box, !frame);
            frame = true;
            continue;
        }
        frame = frame || table.kind == TableKind::EntryPages || table.kind == TableKind::SampleLists ||
                table.kind == TableKind::FlvTags;
        out += TableMarkup(paths, table, model.box);
    }
    return out + kPageFoot;
}

void RenderPage(ReportPage& page, const PageModel& model) {
    // The sub pages of the previous box go; a folder that cannot be removed or
    // made is no reason not to write the page.
    if (!page.SubPagePrefix().empty()) {
        std::filesystem::path folder(page.SubPagePrefix());
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
        std::filesystem::create_directories(folder, ec);
    }
    WriteFile(page, page.PagePath(), PageHtml(model, page.IconPath(), page.SubPagePrefix()));
}
