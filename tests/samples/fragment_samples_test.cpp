// The samples of a track fragment: run offsets, defaults, Smooth Streaming bases,
// and random access into a fragment of several runs.
#include <gtest/gtest.h>

#include "samples/fragment_samples.h"
#include "samples/walk_support.h"

namespace {
// (duration, size, flags, offset) of every sample.
using Row = std::tuple<uint64_t, uint64_t, uint32_t, uint64_t>;
std::vector<Row> Walk(const FragmentSamples& samples) {
    std::vector<Row> rows;
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
    const std::vector<Row> rows = Walk(samples);
    ASSERT_EQ(rows.size(), 453u);
    const uint64_t start = 16 + 4000;
    EXPECT_EQ(std::get<3>(rows[200]), start + 200 * 201 / 2);  // after the sizes of samples 1 to 200
    EXPECT_EQ(std::get<3>(rows[450]), start + 450 * 451 / 2);  // the second run follows the first
    EXPECT_EQ(std::get<3>(rows[452]), 16u - 8);                // a negative data offset
    for (uint64_t k = 0; k < rows.size(); ++k) {
        const SampleRecord r = samples.At(k);
        ASSERT_EQ(Row(r.duration, r.size, r.flags, r.offset), rows[k]) << k;
        ASSERT_EQ(r.index, k);
    }
    EXPECT_TRUE(samples.From(453).Done());
    EXPECT_EQ(SamplesOf(f, 1, context).Count(), 0u);
}

TEST(FragmentSamples, DefaultsAndBaseOffsets) {
    // trex gives size 7, the tfhd duration 30 and flags; the first run's first sample
    // has its own flags; the second run has no data offset and follows the first.
    const std::string moov = Box("moov", Box("mvex", FullBox("trex", 0, 0, U32(1) + U32(1) + U32(0) + U32(7) + U32(0))));
    const std::string traf = Box("traf", Tfhd(0x20028, 1, U32(30) + U32(0x10000)) +
                                             FullBox("trun", 0, 0x5, U32(2) + U32(100) + U32(0x2000000)) +
                                             TrunSizes({3, 4}) + FullBox("tfdt", 1, 0, U64(9000)));
    const ParsedBytes f("defaults.mp4", moov + Box("moof", traf) + Box("mdat", std::string(40, 'x')));
    const SampleContext context(f.P());
    const uint64_t base = uint64_t(f.First(FourCC("moof")).m_startOffset) + 100;
    EXPECT_EQ(Walk(SamplesOf(f, 0, context)), (std::vector<Row>{{30, 7, 0x2000000, base},
                                                                {30, 7, 0x10000, base + 7},
                                                                {30, 3, 0x10000, base + 14},
                                                                {30, 4, 0x10000, base + 17}}));

    // Without a data offset or base, the first run starts at the mdat payload.
    const ParsedBytes g("nooffset.mp4", Box("moof", Box("traf", Tfhd(0, 1) + TrunSizes({5, 6}))) + Box("mdat", "0123456789A"));
    const SampleContext plain(g.P());
    EXPECT_EQ(std::get<3>(Walk(SamplesOf(g, 0, plain))[1]), uint64_t(g.First(FourCC("mdat")).m_startOffset) + 8 + 5);

    // isml: a base data offset below the mdat's position counts from the fragment's start.
    auto fragment = [](uint32_t seq) {
        int32_t zero = 0;
        return Box("moof", FullBox("mfhd", 0, 0, U32(seq)) + Box("traf", Tfhd(0x1, 1, U64(0)) + TrunSizes({2, 2}, &zero))) +
               Box("mdat", "abcd");
    };
    const ParsedBytes s("smooth.ismv", Box("ftyp", "isml" + U32(1) + "piff") + fragment(1) + fragment(2));
    const SampleContext smooth(s.P());
    const uint64_t first = s.First(FourCC("moof")).BoxSize() + s.First(FourCC("mdat")).BoxSize();
    EXPECT_EQ(s.P().FragmentBytesBefore(*s.All(FourCC("moof")).at(1)), first);
    EXPECT_EQ(SamplesOf(s, 1, smooth, 1).At(1).offset, first + 2);
}
