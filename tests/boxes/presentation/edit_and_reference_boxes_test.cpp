// Edit lists, data references and track references on hand-built bytes.
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
    PageModel page = PageOf(*v1.box);
    EXPECT_EQ(Value(page, "Entry count"), "2 (0X00000002)");
    EXPECT_EQ(page.tables.at(2).title, "Entries");
    EXPECT_EQ(Cells(page, 2, 0), (std::vector<std::string>{"1000", "-1", "1", "0"}));
    EXPECT_EQ(Cells(page, 2, 1), (std::vector<std::string>{"4294967296", "8589934592", "-1", "0"}));

    // Version 0: 32-bit fields, the media time just as signed.
    auto v0 = ParseLeaf<CEditListBox>(FullBox("elst", 0, 0, U32(1) + U32(2000) + U32(0xFFFFFFFF) + U16(1) + U16(0)));
    EXPECT_EQ(v0->GetMediaTime(0), -1);
    EXPECT_EQ(v0->GetEdit(0).segmentDuration, 2000u);

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
    // url  with flag 1 (in this file): no location; urn : a name and a location.
    const std::string urn = FullBox("urn ", 0, 0, std::string("urn:x\0http://a/b\0", 17));
    auto dref = ParseLeaf<CDataReferencebox>(FullBox("dref", 0, 0, U32(3) + FullBox("url ", 0, 1, "") + urn + Box("zzzz", "ab")));
    ASSERT_EQ(dref.status, 0);
    ASSERT_EQ(dref->GetChildCount(), 3u);
    auto* url = dynamic_cast<const CDataEntryUrlBox*>(dref->GetChild(0));
    ASSERT_NE(url, nullptr);
    EXPECT_EQ(url->m_flags, 1u);
    EXPECT_EQ(Value(PageOf(*url), "Location"), "");
    auto* parsedUrn = dynamic_cast<const CDataEntryUrnBox*>(dref->GetChild(1));
    ASSERT_NE(parsedUrn, nullptr);
    PageModel page = PageOf(*parsedUrn);
    EXPECT_EQ(Value(page, "Name"), "urn:x");
    EXPECT_EQ(Value(page, "Location"), "http://a/b");
    EXPECT_EQ(dref->GetChild(2)->m_type, FourCC("zzzz"));  // an unknown entry is kept plain
    EXPECT_EQ(Value(PageOf(*dref.box), "Entry count"), "3 (0X00000003)");

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
