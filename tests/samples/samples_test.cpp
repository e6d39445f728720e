// The samples of a track, from its tables, and of a track fragment, from its runs: the
// tables and runs the corpus files never hold (their ordinary ones are walked against
// ffprobe's packets), and the same record whether reached by a walk or directly.
#include <gtest/gtest.h>

#include "samples/fragment_samples.h"
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
// (duration, size, flags, offset) of every sample.
using FragmentRow = std::tuple<uint64_t, uint64_t, uint32_t, uint64_t>;
std::vector<FragmentRow> Walk(const FragmentSamples& samples) {
    std::vector<FragmentRow> rows;
    for (auto cursor = samples.From(0); !cursor.Done();) {
        const SampleRecord r = cursor.Next();
        rows.emplace_back(r.duration, r.size, r.flags, r.offset);
    }
    return rows;
}
// The samples of traf `i` of the file, in the fragment `moof`.
FragmentSamples SamplesOf(const ParsedBytes& f, size_t i, const SampleContext& context, size_t moof = 0) {
    const CBox& m = *f.All(FourCC("moof")).at(moof);
    return FragmentSamples(*f.All(FourCC("traf")).at(i), &m, f.P().MediaDataOf(m), &context);
}
}  // namespace

TEST(TrackSamples, MissingTablesGiveZeros) {
    // Without stss no sample is marked; a constant size steps the offsets.
    auto rows = Walk(Stsz(5, {}, 4) + Table("stsc", {{1, 4, 1}}) + Table("stco", {{64}}));
    ASSERT_EQ(rows.size(), 4u);
    for (const Row& r : rows) EXPECT_EQ(std::get<4>(r), '-');
    EXPECT_EQ(std::get<5>(rows[3]), 79u);
    // Sizes only: deltas 0, every sample a chunk of its own, chunk offsets 0.
    const std::vector<Row> own{{0, 5, 1, 0, '-', 0}, {0, 6, 2, 0, '-', 0}, {0, 7, 3, 0, '-', 0}};
    EXPECT_EQ(Walk(Stsz(0, {5, 6, 7})), own);
    // No size box: no samples, whatever the other tables say.
    EXPECT_TRUE(Walk(Table("stts", {{3, 1}}) + Table("stsc", {{1, 1, 1}})).empty());
    // More chunks than chunk offsets: the missing offsets are 0, nothing is read past the table.
    rows = Walk(Stsz(0, {1, 2, 3, 4}) + Table("stsc", {{1, 1, 1}}) + Table("stco", {{100}}));
    EXPECT_EQ(std::get<5>(rows[0]), 100u);
    EXPECT_EQ(std::get<3>(rows[1]), 0u);
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
            ASSERT_EQ(std::tie(a.index, a.decodeTime, a.duration, a.size, a.offset, a.chunkNumber, a.chunkOffset,
                               a.sync),
                      std::tie(b.index, b.decodeTime, b.duration, b.size, b.offset, b.chunkNumber, b.chunkOffset,
                               b.sync))
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

TEST(FragmentSamples, RunOffsetsAndRandomAccess) {
    // traf 1: a run of 450 sizes at data offset 4000 from the moof, then a run without
    // an offset (it follows), an empty run, and a run at its own offset; traf 2: empty runs.
    std::vector<uint32_t> sizes;
    for (uint32_t i = 1; i <= 450; ++i) sizes.push_back(i);
    int32_t d = 4000, e = -8;
    const std::string moof =
        Box("moof", FullBox("mfhd", 0, 0, U32(1)) +
                        Box("traf", Tfhd(0x20000, 1) + TrunSizes(sizes, &d) + TrunSizes({7, 8}) + TrunSizes({}) +
                                        TrunSizes({9}, &e)) +
                        Box("traf", Tfhd(0x20000, 2) + TrunSizes({}) + TrunSizes({})));
    const ParsedBytes f("frag.mp4", Box("ftyp", "isom" + U32(0)) + moof + Box("mdat", std::string(10, 'x')));
    const SampleContext context(f.P());
    const FragmentSamples samples = SamplesOf(f, 0, context);
    const std::vector<FragmentRow> rows = Walk(samples);
    ASSERT_EQ(rows.size(), 453u);
    const uint64_t start = 16 + 4000;
    EXPECT_EQ(std::get<3>(rows[200]), start + 200 * 201 / 2);  // after the sizes of samples 1 to 200
    EXPECT_EQ(std::get<3>(rows[450]), start + 450 * 451 / 2);  // the second run follows the first
    EXPECT_EQ(std::get<3>(rows[452]), 16u - 8);                // a negative data offset
    for (uint64_t k = 0; k < rows.size(); ++k) {
        const SampleRecord r = samples.At(k);
        ASSERT_EQ(FragmentRow(r.duration, r.size, r.flags, r.offset), rows[k]) << k;
        ASSERT_EQ(r.index, k);
    }
    EXPECT_TRUE(samples.From(453).Done());
    EXPECT_EQ(SamplesOf(f, 1, context).Count(), 0u);
}

TEST(FragmentSamples, DefaultsAndBaseOffsets) {
    // trex gives size 7, the tfhd duration 30 and flags; the first run's first sample
    // has its own flags; the second run has no data offset and follows the first.
    const std::string moov =
        Box("moov", Box("mvex", FullBox("trex", 0, 0, U32(1) + U32(1) + U32(0) + U32(7) + U32(0))));
    const std::string traf = Box("traf", Tfhd(0x20028, 1, U32(30) + U32(0x10000)) +
                                             FullBox("trun", 0, 0x5, U32(2) + U32(100) + U32(0x2000000)) +
                                             TrunSizes({3, 4}) + FullBox("tfdt", 1, 0, U64(9000)));
    const ParsedBytes f("defaults.mp4", moov + Box("moof", traf) + Box("mdat", std::string(40, 'x')));
    const SampleContext context(f.P());
    const uint64_t base = uint64_t(f.First(FourCC("moof")).m_startOffset) + 100;
    EXPECT_EQ(Walk(SamplesOf(f, 0, context)), (std::vector<FragmentRow>{{30, 7, 0x2000000, base},
                                                                        {30, 7, 0x10000, base + 7},
                                                                        {30, 3, 0x10000, base + 14},
                                                                        {30, 4, 0x10000, base + 17}}));

    // Without a data offset or base, the first run starts at the mdat payload.
    const std::string moof = Box("moof", Box("traf", Tfhd(0, 1) + TrunSizes({5, 6})));
    const ParsedBytes g("nooffset.mp4", moof + Box("mdat", "0123456789A"));
    const SampleContext plain(g.P());
    EXPECT_EQ(std::get<3>(Walk(SamplesOf(g, 0, plain))[1]), uint64_t(g.First(FourCC("mdat")).m_startOffset) + 8 + 5);

    // isml: a base data offset below the mdat's position counts from the fragment's start.
    auto fragment = [](uint32_t seq) {
        int32_t zero = 0;
        const std::string traf = Box("traf", Tfhd(0x1, 1, U64(0)) + TrunSizes({2, 2}, &zero));
        return Box("moof", FullBox("mfhd", 0, 0, U32(seq)) + traf) + Box("mdat", "abcd");
    };
    const ParsedBytes s("smooth.ismv", Box("ftyp", "isml" + U32(1) + "piff") + fragment(1) + fragment(2));
    const SampleContext smooth(s.P());
    const uint64_t first = s.First(FourCC("moof")).BoxSize() + s.First(FourCC("mdat")).BoxSize();
    EXPECT_EQ(s.P().FragmentBytesBefore(*s.All(FourCC("moof")).at(1)), first);
    EXPECT_EQ(SamplesOf(s, 1, smooth, 1).At(1).offset, first + 2);
}
