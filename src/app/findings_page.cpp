#include "app/findings_page.h"

#include <map>
#include <unordered_map>

#include "boxes/containers/corvel.h"
#include "check/check_context.h"
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

// The boxes of a run of siblings by their names in a box path: code, then [n] where the
// run has more than one of the type.
std::unordered_map<std::string, const CBox*> NamesOf(BoxRun boxes) {
    std::map<uint32_t, size_t> total, seen;
    for (const auto& box : boxes)
        if (box) ++total[box->m_type];
    std::unordered_map<std::string, const CBox*> names;
    for (const auto& box : boxes) {
        if (!box) continue;
        std::string name = PathCode(box->m_type);
        if (total[box->m_type] > 1) name += "[" + std::to_string(seen[box->m_type]++) + "]";
        names.emplace(std::move(name), box.get());
    }
    return names;
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

std::vector<uint32_t> FindingBoxes(const CCorvel& parser, const std::vector<Finding>& findings) {
    // Each run of siblings is named once, however many findings pass through it.
    std::unordered_map<const CBox*, std::unordered_map<std::string, const CBox*>> runs;
    std::vector<uint32_t> ids;
    ids.reserve(findings.size());
    for (const Finding& f : findings) {
        const CBox* box = nullptr;
        size_t start = 0;
        do {
            const size_t slash = f.box.find('/', start);
            const std::string name = f.box.substr(start, slash == std::string::npos ? slash : slash - start);
            start = slash == std::string::npos ? slash : slash + 1;
            auto run = runs.find(box);
            if (run == runs.end())
                run = runs.emplace(box, NamesOf(box ? BoxRun(box->m_children.begin(), box->m_children.size()) : parser.TopLevel())).first;
            const auto it = run->second.find(name);
            box = it == run->second.end() ? nullptr : it->second;
        } while (box && start != std::string::npos);
        ids.push_back(box ? box->m_id : 0);
    }
    return ids;
}
