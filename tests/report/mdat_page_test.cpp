// The mdat page's select lists: the samples of each track, else of each track
// fragment of the moof that goes with the mdat; a page never carries more than
// kMaxEntryPageOptions options.
#include <gtest/gtest.h>

#include "report/page_test_util.h"
#include "samples/walk_support.h"

namespace {
// A track of n samples of one byte each, listed in its stsz.
std::string TrackOf(uint32_t n) { return Track(Stsz(0, std::vector<uint32_t>(n, 1))); }

const ReportTable* SelectLists(const PageModel& page) {
    for (const ReportTable& t : page.tables)
        if (t.kind == TableKind::SampleLists) return &t;
    return nullptr;
}
}  // namespace

TEST(MediaDataPage, TrackAndFragmentLists) {
    ParsedBytes f("tracks.mp4", Box("moov", TrackOf(200) + TrackOf(201) + TrackOf(450) + TrackOf(0)) + Box("mdat", "x"));
    PageModel page = PageOf(f.First(FourCC("mdat")), nullptr, &f.P());
    const ReportTable* list = SelectLists(page);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->selects.size(), 4u);  // the empty track too
    EXPECT_EQ(list->selects[2].box, f.All(FourCC("stbl"))[2]->m_id);
    EXPECT_EQ(list->selects[2].samples, 450u);

    // A moov whose tracks have no samples and no fragments to match: no list at all.
    ParsedBytes g("empty_tracks.mp4", Box("moov", TrackOf(0)) + Box("mdat", "x"));
    EXPECT_EQ(SelectLists(PageOf(g.First(FourCC("mdat")), nullptr, &g.P())), nullptr);

    // Track fragments: the moof that goes with the mdat, one select per traf.
    const std::string moof =
        Box("moof", FullBox("mfhd", 0, 0, U32(1)) + Box("traf", Tfhd(0x20000, 1) + TrunSizes({1, 2, 3})) +
                        Box("traf", Tfhd(0x20000, 2) + TrunSizes({})));
    ParsedBytes h("frag.mp4", moof + Box("mdat", "abcdef"));
    const CBox& mdat = h.First(FourCC("mdat"));
    list = SelectLists(page = PageOf(mdat, nullptr, &h.P()));
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->selects.size(), 2u);
    EXPECT_EQ(list->selects[0].moof, h.First(FourCC("moof")).m_id);
    EXPECT_EQ(list->selects[0].mdat, mdat.m_id);
    EXPECT_EQ(list->selects[0].samples, 3u);
    EXPECT_EQ(list->selects[1].samples, 0u);
}

// A sample count that no table holds (one size for all) lists only the samples that fit
// in the file: a few bytes cannot make pages of millions of options.
TEST(MediaDataPage, HostileCountsAreBounded) {
    ParsedBytes h("hostile.mp4", Box("moov", Track(Stsz(1, {}, 0xFFFFFFFF)) + Track(Stsz(7, {}, 20000000))) +
                                     Box("mdat", std::string(500, 'x')));
    const uint64_t fileSize = uint64_t(h.P().FileSize());
    const PageModel page = PageOf(h.First(FourCC("mdat")), nullptr, &h.P());
    const ReportTable* list = SelectLists(page);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->selects[0].samples, fileSize);
    EXPECT_EQ(list->selects[1].samples, fileSize / 7);
}
