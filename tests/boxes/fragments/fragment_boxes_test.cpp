// The fragment boxes on hand-built bytes: the flag and version combinations, cuts and
// counts the corpus fragments do not hold (theirs are checked by the spans property and
// against the samples ffprobe reads).
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "report/page_test_util.h"
#include "support/box_builder.h"

namespace {
// The value of row i of a box page's own first table.
std::string RowValue(const PageModel& page, size_t i) { return page.tables.at(1).rows.at(i).value.Plain(); }
}  // namespace

TEST(FragmentRunBoxes, ReadOnlyTheFieldsTheirFlagsName) {
    // tfhd 0x39 (base offset, duration, size, flags) cut inside the default size: the box
    // fails, what was read stays.
    auto tfhd = ParseLeaf<CTrackFragmentHeaderBox>(FullBox("tfhd", 0, 0x39, U32(1) + U64(5) + U32(1024)));
    EXPECT_EQ(tfhd.status, -1);
    EXPECT_EQ(tfhd->m_defaultSampleDuration, 1024u);

    // Version 1 with every field and first sample flags: the offsets are signed.
    auto trun = ParseLeaf<CTrackRunBox>(
        FullBox("trun", 1, 0xF05, U32(1) + U32(0xFFFFFFF8) + U32(0x02000000) + U32(1) + U32(2) + U32(3) + U32(0xFFFFFFFF)));
    ASSERT_EQ(trun.status, 0);
    EXPECT_EQ(trun->m_firstSampleFlags, 0x02000000u);
    EXPECT_EQ(trun->GetSample(0).flags, 3u);  // first_sample_flags is not folded into the entry
    const PageModel page = PageOf(*trun.box);
    EXPECT_EQ(RowValue(page, 1), "4294967288 (0XFFFFFFF8)");  // the data offset is shown unsigned
    EXPECT_EQ(page.tables[2].listRows[0].cells[4].Plain(), "-1");

    // A count beyond the payload: the samples read stay, the box fails; a sample past
    // them reads 0.
    trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x200, U32(5) + U32(11) + U32(12)));
    EXPECT_EQ(trun.status, -1);
    EXPECT_EQ(trun->GetSampleEntryCount(), 2u);
    EXPECT_EQ(trun->GetSample(2).size, 0u);

    // No per-sample field: the samples take no bytes, so a huge count keeps a bounded list.
    trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x1, U32(0xFFFFFFFF) + U32(8)));
    ASSERT_EQ(trun.status, 0);
    EXPECT_EQ(trun->GetSampleEntryCount(), CTrackRunBox::kMaxFieldlessSamples);
}

TEST(FragmentLeafBoxes, VersionWidthsAndShortPayloads) {
    // tfdt: any version but 0 is 64 bits.
    EXPECT_EQ(ParseLeaf<CTfdtBox>(FullBox("tfdt", 2, 0, U64(0x123456789ull)))->m_baseMediaDecodeTime, 0x123456789ull);
    EXPECT_EQ(ParseLeaf<CTfdtBox>(FullBox("tfdt", 1, 0, U32(1))).status, -1);

    // mehd: only version 1 is 64 bits; version 2 reads 32.
    EXPECT_EQ(ParseLeaf<CMovieExtendsHeaderBox>(FullBox("mehd", 2, 0, U32(5000)))->m_fragmentDuration, 5000u);
    EXPECT_EQ(ParseLeaf<CTrackExtendsBox>(FullBox("trex", 0, 0, U32(2))).status, -1);

    // mfhd: a uuid after the sequence number is one plain child at its own offset;
    // any other box there fails the mfhd and is not kept.
    const uint8_t userType[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
    auto mfhd = ParseLeaf<CMovieFragmentHeaderBox>(FullBox("mfhd", 0, 0, U32(42) + UuidBox(userType, U32(0xDEADBEEF))));
    ASSERT_EQ(mfhd.status, 0);
    ASSERT_EQ(mfhd->GetChildCount(), 1u);
    EXPECT_EQ(mfhd->GetChild(0)->m_startOffset, 16);
    EXPECT_EQ(mfhd->GetChild(0)->m_userType[15], 15);
    mfhd = ParseLeaf<CMovieFragmentHeaderBox>(FullBox("mfhd", 0, 0, U32(1) + Box("free", "abcd")));
    EXPECT_EQ(mfhd.status, -1);
    EXPECT_EQ(mfhd->GetChildCount(), 0u);
}

TEST(FragmentContainers, AFailingRunStopsItsTrafAndTheMoof) {
    auto moof = ParseLeaf<CMovieFragmentBox>(
        Box("moof", Box("traf", FullBox("tfhd", 0, 0x20000, U32(1)) + FullBox("trun", 0, 0x200, U32(4) + U32(9)))));
    EXPECT_EQ(moof.status, -1);
    const CBox* traf = moof->GetChild(0);
    ASSERT_EQ(traf->GetChildCount(), 2u);
    EXPECT_NE(dynamic_cast<const CTrackFragmentHeaderBox*>(traf->GetChild(0)), nullptr);
    EXPECT_NE(dynamic_cast<const CTrackRunBox*>(traf->GetChild(1)), nullptr);
}

TEST(FragmentContainers, SdtpCountsTheSamplesOfTheFirstRun) {
    const std::string sdtp = FullBox("sdtp", 0, 0, "\x10\x20\x30\x40");
    const std::string trun3 = FullBox("trun", 0, 0x200, U32(3) + U32(1) + U32(2) + U32(3));
    auto sdtpOf = [](const Parsed<CTrackFragmentBox>& traf) {
        return dynamic_cast<CSampleDependencyTypeBox*>(traf->RetrieveChildBox(FourCC("sdtp"), true));
    };

    // After the run: 3 entries at once.
    auto traf = ParseLeaf<CTrackFragmentBox>(Box("traf", trun3 + sdtp));
    ASSERT_NE(sdtpOf(traf), nullptr);
    EXPECT_EQ(sdtpOf(traf)->GetStoredEntryCount(), 3u);

    // Before the run: parsed at the end of the traf with the first run's count, kept in file order.
    traf = ParseLeaf<CTrackFragmentBox>(Box("traf", sdtp + trun3 + FullBox("trun", 0, 0x200, U32(1) + U32(4))));
    ASSERT_EQ(traf.status, 0);
    EXPECT_EQ(traf->GetChild(0), sdtpOf(traf));
    EXPECT_EQ(sdtpOf(traf)->GetStoredEntryCount(), 3u);

    // No run at all: no samples, and the traf still parses.
    traf = ParseLeaf<CTrackFragmentBox>(Box("traf", sdtp));
    ASSERT_EQ(traf.status, 0);
    EXPECT_EQ(sdtpOf(traf)->GetStoredEntryCount(), 0u);
}
