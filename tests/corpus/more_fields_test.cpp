// The fields the first tables of a page leave out ("More fields"), against MediaInfo's
// field-level dump of the same bytes: each of our rows at the offset MediaInfo gives
// shows the same number.
#include <gtest/gtest.h>

#include <map>

#include "base/span_map.h"
#include "corpus/corpus_refs.h"
#include "corpus/fully_decoded.h"
#include "report/box_page.h"
#include "samples/sample_context.h"

namespace {
// Every row of every page of a walk by the offset of its field, with its label.
std::multimap<uint64_t, Row> RowsByOffset(const CCorvel& parser) {
    const SampleContext samples(parser);
    std::multimap<uint64_t, Row> rows;
    std::function<void(const CBox*, const CBox&, const PageContext&)> visit = [&](const CBox* parent, const CBox& box,
                                                                                  const PageContext& context) {
        PageContext here = context;
        here.parent = parent;
        for (const ReportTable& table : BuildBoxPage(box, here).tables)
            for (const Row& row : table.rows)
                if (!row.span.Empty()) rows.emplace(row.span.Offset(), row);
        for (const auto& child : box.m_children)
            if (child) visit(&box, *child, context);
    };
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        SpanMap spans;
        if (const auto copy = parser.Reparse(*parser.GetBox(i), spans)) visit(nullptr, *copy, {nullptr, &parser, &samples, &spans});
    }
    return rows;
}

// The number in "(0x...)" or "(0X...)" of a value; -1 without one.
int64_t Hex(const std::string& value) {
    const auto m = Matches(value, R"(\(0[xX]([0-9A-Fa-f]+)\))");
    return m.empty() ? -1 : std::stoll(m[0][0], nullptr, 16);
}
}  // namespace

TEST(CorpusMoreFields, MatchMediaInfoFieldByField) {
    // MediaInfo's label, ours, and whether the decimal before the hex is compared (a
    // 16.16 sample rate: MediaInfo shows the integer part's hex only).
    struct Pair {
        const char* theirs;
        const char* ours;
        bool decimal;
    };
    static const Pair kPairs[] = {
        {"Layer", "Layer", false},           {"Alternate group", "Alternate group", false},
        {"Graphic mode", "Graphics mode", false}, {"Audio balance", "Balance", false},
        {"Frame count", "Frame count", false}, {"Depth", "Depth", false},
        {"channelcount (2)", "Channel count", false}, {"samplesize (16)", "Sample size", false},
        {"samplerate", "Sample rate", true},
    };
    std::map<std::string, int> compared;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<InfoLine> lines = MediaInfoLines(name);
        if (lines.empty()) return;
        const std::multimap<uint64_t, Row> rows = RowsByOffset(f.P());
        for (const InfoLine& line : lines)
            for (const Pair& pair : kPairs) {
                if (line.label != pair.theirs) continue;
                auto [first, last] = rows.equal_range(line.offset);
                const auto row = std::find_if(first, last, [&](const auto& r) { return r.second.label == pair.ours; });
                // Files with boxes of newer kinds may hold the field in a box not decoded yet.
                if (row == last) {
                    if (DecodesEveryKind(name)) ADD_FAILURE() << pair.ours << " at " << line.offset << " not shown";
                    continue;
                }
                const std::string ours = row->second.value.Plain();
                if (pair.decimal) EXPECT_EQ(Number(ours), Number(line.value)) << pair.ours << " at " << line.offset;
                else EXPECT_EQ(Hex(ours), Hex(line.value)) << pair.ours << " at " << line.offset << ": " << ours;
                ++compared[pair.ours];
            }
    });
    for (const Pair& pair : kPairs) EXPECT_GT(compared[pair.ours], 0) << pair.ours;
}
