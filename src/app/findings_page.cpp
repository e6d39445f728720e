#include "app/findings_page.h"

#include "report/page_html.h"

namespace {
// A long box path may wrap after its slashes, leaving the message room.
Text BoxPathText(const std::string& path) {
    std::string html;
    size_t start = 0;
    for (size_t slash; (slash = path.find('/', start)) != std::string::npos; start = slash + 1)
        html += HtmlEscape(std::string_view(path).substr(start, slash + 1 - start)) + "<wbr>";
    html += HtmlEscape(std::string_view(path).substr(start));
    return Text::Markup(html, path);
}
}  // namespace

ReportTable FindingsTable(const std::vector<Finding>& findings) {
    ReportTable table("Findings", TableKind::List);
    if (findings.size() > kMaxFindingRows)
        table.title += " (the first " + std::to_string(kMaxFindingRows) + " of " + std::to_string(findings.size()) + ")";
    table.headers = {"Severity", "Rule", "Box", "Message"};
    for (size_t i = 0; i < findings.size() && i < kMaxFindingRows; ++i) {
        const Finding& f = findings[i];
        // Box paths and messages quote codes and text read from the file.
        table.listRows.push_back({{Text(SeverityText(f.severity)), Text(f.rule), BoxPathText(f.box),
                                   Text::FromFile(f.message)},
                                  Span::Bytes(f.offset, f.length)});
    }
    return table;
}

std::string FindingsHtml(const std::vector<Finding>& findings, const std::string& iconPath) {
    std::string html = TableHtml(FindingsTable(findings), iconPath, std::string(), nullptr);
    // The welcome content fills the view: the page opens on the findings when there are
    // any (the view would otherwise restore the place it was last scrolled to).
    if (!findings.empty())
        html += "<script>history.scrollRestoration = 'manual'; window.addEventListener('load', function () {"
                " document.querySelector('table[cellpadding=\"3\"]').scrollIntoView(); });</script>";
    return html;
}
