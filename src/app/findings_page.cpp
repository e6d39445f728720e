#include "app/findings_page.h"

#include "report/page_html.h"

ReportTable FindingsTable(const std::vector<Finding>& findings) {
    ReportTable table("Findings", TableKind::List);
    if (findings.size() > kMaxFindingRows)
        table.title += " (the first " + std::to_string(kMaxFindingRows) + " of " + std::to_string(findings.size()) + ")";
    table.headers = {"Severity", "Rule", "Box", "Message"};
    for (size_t i = 0; i < findings.size() && i < kMaxFindingRows; ++i) {
        const Finding& f = findings[i];
        // Box paths and messages quote codes and text read from the file.
        table.listRows.push_back({{Text(SeverityText(f.severity)), Text(f.rule), Text::FromFile(f.box),
                                   Text::FromFile(f.message)},
                                  Span::Bytes(f.offset, f.length)});
    }
    return table;
}

std::string FindingsHtml(const std::vector<Finding>& findings, const std::string& iconPath) {
    std::string html = TableHtml(FindingsTable(findings), iconPath, std::string(), nullptr);
    // The welcome content fills the view: the page opens on the findings when there are any.
    if (!findings.empty())
        html += "<script>document.querySelector('table[cellpadding=\"3\"]').scrollIntoView();</script>";
    return html;
}
