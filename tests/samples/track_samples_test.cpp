// The samples of a track, from its tables: each sample's delta, size, chunk and
// offset when tables are missing, and the same record whether reached by a walk or
// directly. The ordinary tables of every corpus track are walked against ffprobe's
// packets; here the tables they never hold.
#include <gtest/gtest.h>

#include "samples/track_samples.h"
#include "samples/walk_support.h"

namespace {
// (delta, size, chunk number, chunk offset, sync mark, offset) of every sample of the file's track.
using Row = std::tuple<uint64_t, uint64_t, uint64_t, uint64_t, char, uint64_t>;
std::vector<Row> Walk(const std::string& stblChildren) {
    const ParsedBytes f("track.mp4", Box("moov", Track(stblChildren)));
    const TrackSamples samples(f.First(FourCC("stbl")), 0);
    std::vector<Row> rows;
    auto cursor = samples.From(0);
    for (uint64_t k = 0; k < samples.Count(); ++k) {
        const SampleRecord r = cursor.Next();
        const char sync = r.sync == SampleRecord::Sync::Unmarked ? '-' : r.sync == SampleRecord::Sync::Yes ? 'O' : 'X';
        rows.emplace_back(r.duration, r.size, r.chunkNumber, r.chunkOffset, sync, r.offset);
    }
    return rows;
}
}  // namespace

TEST(TrackSamples, MissingTablesGiveZeros) {
    // Without stss no sample is marked; a constant size steps the offsets.
    auto rows = Walk(Stsz(5, {}, 4) + Table("stsc", {{1, 4, 1}}) + Table("stco", {{64}}));
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& r : rows) EXPECT_EQ(std::get<4>(r), '-');
    EXPECT_EQ(std::get<5>(rows[3]), 79u);
    // Sizes only: deltas 0, every sample a chunk of its own, chunk offsets 0.
    EXPECT_EQ(Walk(Stsz(0, {5, 6, 7})), (std::vector<Row>{{0, 5, 1, 0, '-', 0}, {0, 6, 2, 0, '-', 0}, {0, 7, 3, 0, '-', 0}}));
    // No size box: no samples, whatever the other tables say.
    EXPECT_TRUE(Walk(Table("stts", {{3, 1}}) + Table("stsc", {{1, 1, 1}})).empty());
    // More chunks than chunk offsets: the missing offsets are 0, nothing is read past the table.
    rows = Walk(Stsz(0, {1, 2, 3, 4}) + Table("stsc", {{1, 1, 1}}) + Table("stco", {{100}}));
    EXPECT_EQ(std::get<5>(rows[0]), 100u);
    EXPECT_EQ(std::get<3>(rows[1]), 0u);
    // A compact size box serves when there is no stsz.
    rows = Walk(FullBox("stz2", 0, 0, U32(8) + U32(3) + U8(9) + U8(8) + U8(7)) + Table("stsc", {{1, 3, 1}}) +
                Table("stco", {{50}}));
    EXPECT_EQ(std::get<5>(rows[2]), 67u);
}

// The direct way to a sample follows every rule of the walk: stsc entries that start
// later than chunk 1, that repeat or go back (never reached), 0 samples per chunk;
// stts counts of 0 and entries past the table; stss numbers out of order.
TEST(TrackSamples, RandomAccessMatchesTheWalk) {
    std::vector<uint32_t> sizes;
    for (uint32_t i = 0; i < 230; ++i) sizes.push_back(1 + i % 13);
    std::vector<std::vector<uint32_t>> offsets;
    for (uint32_t c = 0; c < 120; ++c) offsets.push_back({100000 * c + 7});
    const struct {
        std::string stsc, stts, stss;
    } cases[] = {
        {Table("stsc", {{1, 3, 1}, {4, 5, 1}, {9, 1, 1}, {12, 7, 1}}), Table("stts", {{20, 10}, {0, 7}, {300, 3}}),
         Table("stss", {{1}, {5}, {40}, {200}})},
        {Table("stsc", {{3, 4, 1}, {6, 0, 1}, {8, 2, 1}}), Table("stts", {{50, 1}, {50, 2}}),
         Table("stss", {{2}, {9}, {9}, {50}})},
        {Table("stsc", {{1, 2, 1}, {5, 6, 1}, {5, 3, 1}, {20, 9, 1}}), Table("stts", {{0, 5}}),
         Table("stss", {{0}, {3}})},
        {Table("stsc", {{2, 3, 1}, {1, 4, 1}}), Table("stts", {}), Table("stss", {{7}, {3}, {8}})},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const ParsedBytes f("runs.mp4", Box("moov", Track(Stsz(0, sizes) + cases[i].stsc + Table("co64", {}) +
                                                          Table("stco", offsets) + cases[i].stts + cases[i].stss)));
        // Every sample reached directly equals the one a walk from the first sample
        // reaches, and a walk started there goes on like it.
        const TrackSamples samples(f.First(FourCC("stbl")), 0);
        auto walk = samples.From(0);
        for (uint64_t k = 0; k < samples.Count(); ++k) {
            const SampleRecord a = walk.Next(), b = samples.At(k);
            ASSERT_EQ(std::tie(a.index, a.decodeTime, a.duration, a.size, a.offset, a.chunkNumber, a.chunkOffset, a.sync),
                      std::tie(b.index, b.decodeTime, b.duration, b.size, b.offset, b.chunkNumber, b.chunkOffset, b.sync))
                << "sample " << k;
            if (k + 1 < samples.Count()) {
                auto from = samples.From(k), ahead = samples.From(0);
                from.Next();
                for (uint64_t j = 0; j <= k; ++j) ahead.Next();
                ASSERT_EQ(from.Next().offset, ahead.Next().offset) << "after sample " << k;
            }
        }
    }
}
