#include "report/report_page.h"

#include <filesystem>
#include <system_error>

#include "boxes/box.h"
#include "report/format.h"
#include "report/markup.h"

ReportPage::ReportPage(std::string pagePath, std::string iconPath, std::string subPagePrefix)
    : m_pagePath(std::move(pagePath)), m_iconPath(std::move(iconPath)), m_subPagePrefix(std::move(subPagePrefix)) {}

ReportPage::~ReportPage() { Close(); }

bool ReportPage::Open(const std::string& path) {
    Close();
    // Binary: the markup carries its own CR LF line ends.
    m_file = std::fopen(path.c_str(), "wb");
    m_failed = m_file == nullptr;
    return m_file != nullptr;
}

void ReportPage::Write(std::string_view text) {
    if (m_file && std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) m_failed = true;
}

void ReportPage::Close() {
    if (m_file && std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
}

void BeginPage(ReportPage& page) {
    // The sub pages of the previous box go; a folder that cannot be removed or
    // made is no reason not to write the page.
    if (!page.SubPagePrefix().empty()) {
        std::filesystem::path folder(page.SubPagePrefix());
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
        std::filesystem::create_directories(folder, ec);
    }
    page.Open(page.PagePath());
    page.Write(kPageHead);
}

namespace {
std::string KeyValueMarkup(const ReportPage& page, const ReportTable& table) {
    std::string out = kTableOpen + KeyValueTitleRow(page.IconPath(), table.title);
    for (const auto& [label, value] : table.rows) {
        out += "<tr>\r\n";
        out += "<td align = \"left\"  bgcolor = #f3f1f1 width = \"35%\">" + label + "</td>\r\n";
        out += "<td align = \"left\" bgcolor = white>" + value.Html() + "</td>\r\n";
        out += "</tr>\r\n";
    }
    return out + "</table>\r\n" + kSpacer;
}

std::string EntryPagesMarkup(const ReportPage& page, const ReportTable& table, const CBox& box) {
    std::string out = kTableOpen + EntryPagesTitleRow(page.IconPath(), table.title);
    out += "<tr>\r\n<td align = \"left\" bgcolor = white>";
    out += Format("<select name='#' style='width:120;' ID = STDL_PAGE nid = %u  box_pos = %u>", 0u, box.m_id);
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

std::string ListMarkup(const ReportPage& page, const ReportTable& table) {
    const int h = static_cast<int>(table.headers.size());
    const int w = h > 0 ? 100 / h : 100;  // a table without headers must not divide by zero
    std::string out = kTableOpen + ListTitleRow(h, page.IconPath(), table.title);
    out += "<tr>\r\n";
    for (const std::string& header : table.headers)
        out += Format("<td align = \"left\"  bgcolor = #f3f1f1 width = \"%d%%\">", w) + header + "</td>\r\n";
    out += "</tr>\r\n";
    if (!table.columns.empty()) {
        const std::string cellOpen = Format("<td align = \"left\"  bgcolor = white width = \"%d%%\">", w);
        const size_t rows = table.columns.front().size();
        for (size_t r = 0; r < rows; ++r) {
            out += "<tr>\r\n";
            for (const auto& column : table.columns)
                out += cellOpen + (r < column.size() ? column[r].Html() : std::string()) + "</td>\r\n";
            out += "</tr>\r\n";
        }
    }
    return out + "</table>\r\n" + kSpacer;
}
}  // namespace

void RenderTable(ReportPage& page, const ReportTable& table, const CBox* box) {
    switch (table.kind) {
        case TableKind::KeyValue: page.Write(KeyValueMarkup(page, table)); break;
        case TableKind::EntryPages:
            if (box) page.Write(EntryPagesMarkup(page, table, *box));
            break;
        case TableKind::List: page.Write(ListMarkup(page, table)); break;
        case TableKind::Markup: page.Write(table.markup.Html()); break;
    }
}

void EndPage(ReportPage& page) {
    page.Write(kPageFoot);
    page.Close();
}

void RenderPage(ReportPage& page, const PageModel& model) {
    BeginPage(page);
    for (const ReportTable& table : model.tables) RenderTable(page, table, model.box);
    EndPage(page);
}

void RenderBoxPage(const CBox* parent, ReportPage& page, const CBox& box, const CCorvel* parser) {
    RenderPage(page, BuildBoxPage(parent, box, parser, &page));
}
