#include "report/coverage.h"

#include <algorithm>

#include "boxes/box.h"

namespace {
// The header's bytes: size and type, the large size and the user type when present.
uint64_t HeaderBytes(const CBox& box) {
    return (box.m_size == 1 ? 16 : 8) + (box.m_type == FourCC("uuid") ? 16 : 0);
}

void Add(std::vector<ByteRange>& ranges, const Span& span) {
    if (!span.Empty()) ranges.push_back({span.Offset(), span.Length()});
}

}  // namespace

std::vector<ByteRange> MergeRanges(std::vector<ByteRange> ranges, ByteRange whole) {
    std::sort(ranges.begin(), ranges.end(), [](const ByteRange& a, const ByteRange& b) { return a.offset < b.offset; });
    std::vector<ByteRange> out;
    for (const ByteRange& r : ranges) {
        const uint64_t first = std::max(r.offset, whole.offset);
        const uint64_t end = std::min(r.length > UINT64_MAX - r.offset ? UINT64_MAX : r.End(), whole.End());
        if (first >= end) continue;
        if (!out.empty() && first <= out.back().End())
            out.back().length = std::max(out.back().End(), end) - out.back().offset;
        else
            out.push_back({first, end - first});
    }
    return out;
}

bool HoldsMediaData(const CBox& box) { return box.m_type == FourCC("mdat") || box.m_type == FourCC("idat"); }

ByteRange PresentRange(const CBox& box) {
    const uint64_t start = uint64_t(box.m_startOffset);
    return {start, box.PresentSize()};
}

std::vector<ByteRange> ExplainedRanges(const PageModel& page, const CBox& box) {
    const ByteRange whole = PresentRange(box);
    std::vector<ByteRange> ranges{{whole.offset, HeaderBytes(box)}};
    for (const ReportTable& table : page.tables) {
        if (table.title == kUndecodedTitle) continue;
        // An entry table, or a paged one whose rows the page does not hold: where all its
        // rows lie. Any other table: each row where it lies.
        if (table.kind == TableKind::EntryPages || table.Paged()) {
            Add(ranges, table.entriesSpan);
            continue;
        }
        for (const Row& row : table.rows)
            if (row.label != kBytesPresentLabel) Add(ranges, row.span);
        for (const ListRow& row : table.listRows) Add(ranges, row.span);
    }
    for (const auto& child : box.m_children)
        if (child) ranges.push_back({uint64_t(child->m_startOffset), child->DeclaredSize()});
    return MergeRanges(std::move(ranges), whole);
}

std::vector<ByteRange> Gaps(ByteRange whole, const std::vector<ByteRange>& explained) {
    std::vector<ByteRange> gaps;
    uint64_t at = whole.offset;
    for (const ByteRange& r : explained) {
        if (r.offset > at) gaps.push_back({at, r.offset - at});
        at = std::max(at, r.End());
    }
    if (at < whole.End()) gaps.push_back({at, whole.End() - at});
    return gaps;
}

uint64_t BytesWithin(ByteRange whole, const std::vector<ByteRange>& ranges) {
    uint64_t n = 0;
    for (const ByteRange& r : ranges) {
        const uint64_t first = std::max(r.offset, whole.offset), end = std::min(r.End(), whole.End());
        if (first < end) n += end - first;
    }
    return n;
}
