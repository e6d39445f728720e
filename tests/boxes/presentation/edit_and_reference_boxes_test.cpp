// Edit lists, data references and track references on hand-built bytes: the versions,
// counts and cuts the corpus lacks (its edit lists are checked against Bento4, every
// row by the spans property).
#include <gtest/gtest.h>

#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"

TEST(EditListBox, SignedMediaTimesInBothVersions) {
    // Version 1: an empty edit (media time -1), then a 64-bit time.
    auto v1 = ParseLeaf<CEditListBox>(FullBox("elst", 1, 0, U32(2) + U64(1000) + U64(~0ull) + U16(1) + U16(0) +
                                                                  U64(0x100000000ull) + U64(0x200000000ull) + U16(0xFFFF) + U16(0)));
    ASSERT_EQ(v1.status, 0);
    EXPECT_EQ(v1->GetMediaTime(0), -1);
    EXPECT_EQ(v1->GetMediaTime(1), 0x200000000ll);
    // The rate is signed too.
    EXPECT_EQ(Cells(PageOf(*v1.box), 2, 1), (std::vector<std::string>{"4294967296", "8589934592", "-1", "0"}));

    // Count 2 with three edits' bytes: two edits, the third left unread. A count beyond
    // the payload fails after the edits that fit.
    const std::string edit = U32(10) + U32(20) + U16(1) + U16(0);
    auto extra = ParseLeaf<CEditListBox>(FullBox("elst", 0, 0, U32(2) + edit + edit + edit));
    EXPECT_EQ(extra.status, 0);
    EXPECT_EQ(extra->m_edits.size(), 2u);
    auto hostile = ParseLeaf<CEditListBox>(FullBox("elst", 0, 0, U32(0xFFFFFFFF) + edit));
    EXPECT_EQ(hostile.status, -1);
    EXPECT_EQ(hostile->m_edits.size(), 1u);
    EXPECT_EQ(hostile->GetMediaTime(5), 0);  // past the stored edits
}

TEST(DataReferenceBoxes, EntriesAreChildren) {
    // An unknown entry is kept plain.
    auto dref = ParseLeaf<CDataReferencebox>(FullBox("dref", 0, 0, U32(2) + FullBox("url ", 0, 1, "") + Box("zzzz", "ab")));
    ASSERT_EQ(dref.status, 0);
    ASSERT_EQ(dref->GetChildCount(), 2u);
    EXPECT_NE(dynamic_cast<const CDataEntryUrlBox*>(dref->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*dref->GetChild(1)), typeid(CBox));

    // A location running to the end of the payload without a zero byte is all there.
    auto open = ParseLeaf<CDataEntryUrnBox>(FullBox("urn ", 0, 0, std::string("n\0loc", 5)));
    EXPECT_EQ(open.status, 0);
    EXPECT_EQ(open->GetLocation(), "loc");
    // Fewer entries than the count: the dref fails, the entries read stay.
    auto missing = ParseLeaf<CDataReferencebox>(FullBox("dref", 0, 0, U32(2) + FullBox("url ", 0, 1, "")));
    EXPECT_EQ(missing.status, -1);
    EXPECT_EQ(missing->GetChildCount(), 1u);
    // A url  without version and flags fails its dref.
    EXPECT_EQ(ParseLeaf<CDataReferencebox>(FullBox("dref", 0, 0, U32(1) + Box("url ", ""))).status, -1);
}

TEST(TrackReferenceTypeBox, TrackIdsToThePayloadEnd) {
    auto chap = ParseLeaf<CTrackReferenceTypeBox>(Box("chap", U32(2) + U32(3)));
    EXPECT_EQ(chap.status, 0);
    EXPECT_EQ(chap->GetTrackIDs(), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(ParseLeaf<CTrackReferenceTypeBox>(Box("hint", "")).status, 0);
    // 6 bytes: one ID, then a remainder too short for another.
    auto cut = ParseLeaf<CTrackReferenceTypeBox>(Box("cdsc", U32(1) + U16(0)));
    EXPECT_EQ(cut.status, -1);
    EXPECT_EQ(cut->GetTrackIDs(), (std::vector<uint32_t>{1}));
}
