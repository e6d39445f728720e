// The fields the first tables of a page leave out ("More fields"), against MediaInfo's
// field-level dump of the same bytes: each of our rows at the offset MediaInfo gives
// shows the same number.
#include <gtest/gtest.h>

#include <map>

#include "corpus/corpus_refs.h"
#include "corpus/fully_decoded.h"

namespace {
// Every row of every page of a file by the offset of its field, with its label.
std::multimap<uint64_t, Row> RowsByOffset(const CorpusFile& f) {
    std::multimap<uint64_t, Row> rows;
    ForEachPage(f, [&](const CBox&, const CBox*, const PageModel& page) {
        for (const ReportTable& table : page.tables)
            for (const Row& row : table.rows)
                if (!row.span.Empty()) rows.emplace(row.span.Offset(), row);
    });
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
        const std::multimap<uint64_t, Row> rows = RowsByOffset(f);
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
