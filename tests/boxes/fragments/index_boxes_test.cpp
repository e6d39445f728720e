// Random access and segment index boxes on hand-built bytes: the entry widths, versions
// and counts the corpus lacks (its boxes are checked by the spans property and against
// the fragments they point at).
#include <gtest/gtest.h>

#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"

TEST(RandomAccessBoxes, EntrySizesFollowTheLengthFieldsAndVersion) {
    // Version 0, every length size 0: 4 + 4 + 1 + 1 + 1 bytes an entry.
    auto small = ParseLeaf<CTrackFragmentRandomAccessbox>(
        FullBox("tfra", 0, 0, U32(1) + U32(0) + U32(2) + U32(100) + U32(5000) + U8(1) + U8(2) + U8(3) + U32(200) +
                                   U32(9000) + U8(4) + U8(5) + U8(6)));
    ASSERT_EQ(small.status, 0);
    ASSERT_EQ(small->m_entries.size(), 2u);
    EXPECT_EQ(small->GetEntry(1)->sampleNumber, 6u);
    EXPECT_EQ(small->GetEntry(2), nullptr);

    // Version 1, length sizes 3 (0x3F): 8 + 8 + 4 + 4 + 4 bytes.
    auto wide = ParseLeaf<CTrackFragmentRandomAccessbox>(
        FullBox("tfra", 1, 0, U32(2) + U32(0x3F) + U32(1) + U64(0x100000001ull) + U64(0x200000002ull) + U32(7) + U32(8) + U32(9)));
    ASSERT_EQ(wide.status, 0);
    EXPECT_EQ(wide->GetEntry(0)->moofOffset, 0x200000002ull);
    EXPECT_EQ(wide->GetEntry(0)->sampleNumber, 9u);
    EXPECT_EQ(wide->m_lengthSizeOfTrunNum, 3u);
    // Version 2 is not 1: 32-bit time and offset.
    auto v2 = ParseLeaf<CTrackFragmentRandomAccessbox>(FullBox("tfra", 2, 0, U32(1) + U32(0) + U32(1) + U32(7) + U32(8) + "abc"));
    ASSERT_EQ(v2.status, 0);
    EXPECT_EQ(v2->GetEntry(0)->moofOffset, 8u);
    // A count beyond the payload fails after the entries that fit.
    auto hostile = ParseLeaf<CTrackFragmentRandomAccessbox>(FullBox("tfra", 0, 0, U32(1) + U32(0) + U32(0xFFFFFFFF) + U32(1) + U32(2) + "abc"));
    EXPECT_EQ(hostile.status, -1);
    EXPECT_EQ(hostile->m_entries.size(), 1u);
}

TEST(SegmentIndexBoxes, VersionsReferencesAndRanges) {
    // A reference to another sidx (type 1), SAP type 1, delta 10: packed fields apart.
    const std::string reference = U32(0x80000010) + U32(3000) + U32(0x9000000A);
    auto v0 = ParseLeaf<CSegmentIndexBox>(FullBox("sidx", 0, 0, U32(1) + U32(90000) + U32(7) + U32(64) + U16(0) + U16(1) + reference));
    ASSERT_EQ(v0.status, 0);
    EXPECT_EQ(Cells(PageOf(*v0.box), 2, 0), (std::vector<std::string>{"1", "16", "3000", "1", "1", "10"}));

    // Version 1 (and any version but 0): 64-bit time and offset; no references is fine.
    auto v1 = ParseLeaf<CSegmentIndexBox>(FullBox("sidx", 2, 0, U32(1) + U32(1000) + U64(0x100000000ull) + U64(5) + U32(0)));
    ASSERT_EQ(v1.status, 0);
    EXPECT_EQ(Value(PageOf(*v1.box), "Earliest presentation time"), "4294967296 (0X00000000)");
    EXPECT_TRUE(v1->m_references.empty());
    auto hostile = ParseLeaf<CSegmentIndexBox>(FullBox("sidx", 0, 0, U32(1) + U32(1) + U32(0) + U32(0) + U16(0) + U16(0xFFFF) + reference));
    EXPECT_EQ(hostile.status, -1);
    EXPECT_EQ(hostile->m_references.size(), 1u);

    // ssix: a subsegment without ranges shows 0 and 0.
    auto ssix = ParseLeaf<CSubsegmentIndexBox>(FullBox("ssix", 0, 0, U32(2) + U32(1) + U32(0x01000010) + U32(0)));
    ASSERT_EQ(ssix.status, 0);
    EXPECT_EQ(Cells(PageOf(*ssix.box), 2, 1), (std::vector<std::string>{"0", "0", "0"}));
    // Range counts beyond the payload fail the box; the whole subsegments before stay.
    auto cut = ParseLeaf<CSubsegmentIndexBox>(FullBox("ssix", 0, 0, U32(2) + U32(1) + U32(5) + U32(0xFFFFFFFF) + U32(6)));
    EXPECT_EQ(cut.status, -1);
    EXPECT_EQ(cut->m_subsegments.size(), 1u);
}

TEST(SegmentIndexBoxes, ProducerReferenceTime) {
    // 2024-01-01 00:00:00 UTC is 3913056000 seconds after 1900; a quarter second.
    const uint64_t ntp = (3913056000ull << 32) | 0x40000000u;
    auto v0 = ParseLeaf<CProducerReferenceTimeBox>(FullBox("prft", 0, 0, U32(1) + U64(ntp) + U32(90000)));
    ASSERT_EQ(v0.status, 0);
    EXPECT_EQ(v0->m_mediaTime, 90000u);  // 32 bits in version 0
    EXPECT_EQ(Value(PageOf(*v0.box), "NTP time stamp(UTC)"), "2024/01/01 00:00:00.250");
    EXPECT_EQ(ParseLeaf<CProducerReferenceTimeBox>(FullBox("prft", 1, 0, U32(1) + U64(0) + U32(0))).status, -1);
}
