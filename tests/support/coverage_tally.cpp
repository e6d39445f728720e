#include "support/coverage_tally.h"

#include <algorithm>

#include "base/span_map.h"
#include "report/box_page.h"
#include "report/coverage.h"
#include "samples/sample_context.h"

namespace {
void Tally(const CBox* parent, const CBox& box, const PageContext& context, CoverageTally& tally) {
    if (HoldsMediaData(box)) return;
    PageContext here = context;
    here.parent = parent;
    const PageModel page = BuildBoxPage(box, here);
    const ByteRange present = PresentRange(box);

    std::vector<ByteRange> children;
    for (const auto& child : box.m_children)
        if (child) children.push_back(PresentRange(*child));
    const uint64_t own = present.length - BytesWithin(present, MergeRanges(children, present));
    uint64_t undecoded = 0;
    for (const ByteRange& gap : page.undecoded) undecoded += gap.length;
    tally.bytes += own;
    tally.explained += own - std::min(own, undecoded);
    if (undecoded) tally.undecoded[box.TypeText()] += undecoded;

    // What the page shows, its "Undecoded bytes" rows included, covers every byte.
    std::vector<ByteRange> shown = ExplainedRanges(page, box);
    for (const ReportTable& table : page.tables)
        if (table.title == kUndecodedTitle) {
            for (const ListRow& row : table.listRows) shown.push_back({row.span.Offset(), row.span.Length()});
            if (table.Paged()) shown.push_back({table.entriesSpan.Offset(), table.entriesSpan.Length()});
        }
    if (!Gaps(present, MergeRanges(shown, present)).empty())
        tally.hidden.push_back(box.TypeText() + " at " + std::to_string(box.m_startOffset));

    for (const auto& child : box.m_children)
        if (child) Tally(&box, *child, context, tally);
}
}  // namespace

std::string CoverageTally::UndecodedText() const {
    std::vector<std::pair<uint64_t, std::string>> byBytes;
    for (const auto& [type, n] : undecoded) byBytes.emplace_back(n, type);
    std::sort(byBytes.rbegin(), byBytes.rend());
    std::string text;
    for (const auto& [n, type] : byBytes) text += (text.empty() ? "" : " ") + type + " " + std::to_string(n);
    return text;
}

CoverageTally TallyCoverage(const CCorvel& parser) {
    const SampleContext samples(parser);
    CoverageTally tally;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox& top = *parser.GetBox(i);
        SpanMap spans;
        if (const std::unique_ptr<CBox> copy = parser.Reparse(top, spans))
            Tally(nullptr, *copy, {nullptr, &parser, &samples, &spans}, tally);
        else if (!HoldsMediaData(top))
            tally.hidden.push_back(top.TypeText() + " cannot be parsed again");
    }
    return tally;
}
