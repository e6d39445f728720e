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
// The page of a fragment box; Row(page, i) is the value of row i of its own first table.
PageModel Page(const CBox& box) { return PageOf(box); }
std::string RowValue(const PageModel& page, size_t i) { return page.tables.at(1).rows.at(i).value.Plain(); }
}  // namespace

TEST(FragmentRunBoxes, ReadOnlyTheFieldsTheirFlagsName) {
    // tfhd with default-base-is-moof alone: the track id and nothing else.
    auto tfhd = ParseLeaf<CTrackFragmentHeaderBox>(FullBox("tfhd", 0, 0x20000, U32(7)));
    EXPECT_EQ(tfhd.status, 0);
    EXPECT_EQ(tfhd->m_trackId, 7u);

    // 0x39: base offset, duration, size, flags; no description index.
    tfhd = ParseLeaf<CTrackFragmentHeaderBox>(
        FullBox("tfhd", 0, 0x39, U32(1) + U64(0x100000020ull) + U32(1024) + U32(300) + U32(0x01010000)));
    ASSERT_EQ(tfhd.status, 0);
    EXPECT_EQ(tfhd->m_sampleDescriptionIndex, 0u);
    EXPECT_EQ(tfhd->m_defaultSampleFlags, 0x01010000u);
    // The 64-bit row shows the low 32 bits in hexadecimal.
    EXPECT_EQ(RowValue(Page(*tfhd.box), 1), "4294967328 (0X00000020)");

    // Cut inside the default size: the box fails, what was read stays.
    tfhd = ParseLeaf<CTrackFragmentHeaderBox>(FullBox("tfhd", 0, 0x39, U32(1) + U64(5) + U32(1024)));
    EXPECT_EQ(tfhd.status, -1);
    EXPECT_EQ(tfhd->m_defaultSampleDuration, 1024u);

    // trun 0x301: data offset, then duration and size per sample.
    std::string samples;
    for (uint32_t i = 1; i <= 3; ++i) samples += U32(1000 + i) + U32(10 * i);
    auto trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x301, U32(3) + U32(0x70) + samples));
    ASSERT_EQ(trun.status, 0);
    ASSERT_EQ(trun->GetSampleEntryCount(), 3u);
    EXPECT_EQ(trun->GetSample(2).size, 30u);
    EXPECT_EQ(trun->GetSample(3).size, 0u);

    // Version 1 with every field and first sample flags: the offsets are signed.
    trun = ParseLeaf<CTrackRunBox>(
        FullBox("trun", 1, 0xF05, U32(1) + U32(0xFFFFFFF8) + U32(0x02000000) + U32(1) + U32(2) + U32(3) + U32(0xFFFFFFFF)));
    ASSERT_EQ(trun.status, 0);
    EXPECT_EQ(trun->m_firstSampleFlags, 0x02000000u);
    EXPECT_EQ(trun->GetSample(0).flags, 3u);  // first_sample_flags is not folded into the entry
    PageModel page = Page(*trun.box);
    EXPECT_EQ(RowValue(page, 1), "4294967288 (0XFFFFFFF8)");  // the data offset is shown unsigned
    EXPECT_EQ(page.tables[2].listRows[0].cells[4].Plain(), "-1");

    // A count beyond the payload: the samples read stay, the box fails.
    trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x200, U32(5) + U32(11) + U32(12)));
    EXPECT_EQ(trun.status, -1);
    EXPECT_EQ(trun->GetSampleEntryCount(), 2u);

    // No per-sample field: the samples take no bytes, so a huge count keeps a bounded list.
    trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x1, U32(0xFFFFFFFF) + U32(8)));
    ASSERT_EQ(trun.status, 0);
    EXPECT_EQ(trun->GetSampleEntryCount(), CTrackRunBox::kMaxFieldlessSamples);
}

TEST(FragmentLeafBoxes, VersionWidthsAndShortPayloads) {
    // tfdt: version 0 is 32 bits, any other version 64 bits.
    for (uint8_t version : {1, 2})
        EXPECT_EQ(ParseLeaf<CTfdtBox>(FullBox("tfdt", version, 0, U64(0x123456789ull)))->m_baseMediaDecodeTime,
                  0x123456789ull);
    EXPECT_EQ(ParseLeaf<CTfdtBox>(FullBox("tfdt", 0, 0, U32(90000)))->m_baseMediaDecodeTime, 90000u);
    EXPECT_EQ(ParseLeaf<CTfdtBox>(FullBox("tfdt", 1, 0, U32(1))).status, -1);

    // mehd: only version 1 is 64 bits; version 2 reads 32.
    EXPECT_EQ(ParseLeaf<CMovieExtendsHeaderBox>(FullBox("mehd", 2, 0, U32(5000)))->m_fragmentDuration, 5000u);
    EXPECT_EQ(ParseLeaf<CMovieExtendsHeaderBox>(FullBox("mehd", 1, 0, U64(1ull << 33)))->m_fragmentDuration, 1ull << 33);
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
