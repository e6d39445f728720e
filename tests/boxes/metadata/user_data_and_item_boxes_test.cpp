// udta and meta with their children on hand-built bytes: the parent-type rule of udta,
// both forms of meta, item information entries, track selection and groups. The corpus
// (kitchen_sink.mp4 above all) holds the ordinary forms, checked against MediaInfo and
// by the spans property; these are the forms and failures it lacks.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/metadata/hint_information_boxes.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/track_grouping_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"

namespace {
std::vector<std::string> Labels(const PageModel& page, size_t table) {
    std::vector<std::string> labels;
    for (const Row& row : page.tables.at(table).rows) labels.push_back(row.label);
    return labels;
}
}  // namespace

TEST(MetaBox, IsoAndQuickTimeForms) {
    const std::string children = Hdlr("mdir") + Box("ilst", Box("\xA9nam", Box("data", U32(1) + U32(0) + "x")));
    auto w = ParseFile("meta_forms.mp4", Box("moov", Box("udta", FullBox("meta", 0, 0, children) + Box("meta", children) +
                                                                     FullBox("meta", 0, 0, Box("pitm", U32(0) + U16(1))))));
    ASSERT_EQ(w->status, 0);
    const CBox& udta = *w->Top(0)->GetChild(0);
    ASSERT_EQ(udta.GetChildCount(), 3u);
    for (size_t i = 0; i < 2; ++i) {
        auto* meta = dynamic_cast<const CMetaBox*>(udta.GetChild(i));
        ASSERT_NE(meta, nullptr);
        ASSERT_EQ(meta->GetChildCount(), 2u);
        EXPECT_NE(dynamic_cast<const CIlstBox*>(meta->GetChild(1)), nullptr);
        EXPECT_EQ(meta->m_hasVersionAndFlags, i == 0);
    }
    // The QuickTime form's page has no version and flags rows: its first bytes are its child's.
    EXPECT_EQ(Labels(PageOf(*udta.GetChild(0), &udta), 0).size(), 5u);
    EXPECT_EQ(Labels(PageOf(*udta.GetChild(1), &udta), 0), (std::vector<std::string>{"Start offset", "Box size", "Box type"}));
    EXPECT_EQ(PageOf(*udta.GetChild(1), &udta).title, "The Meta Box");
    // pitm is kept plain.
    EXPECT_EQ(typeid(*udta.GetChild(2)->GetChild(0)), typeid(CBox));
}

TEST(UserDataBox, ParentTypeDecidesTheHintInformation) {
    const std::string movieHnti = Box("hnti", Box("rtp ", "sdp " + std::string("v=0\r\n")));
    const std::string trackHnti = Box("hnti", Box("sdp ", "m=video 0 RTP/AVP 96\r\n"));
    auto w = ParseFile("udta.mp4", Box("moov", Box("trak", Box("udta", trackHnti)) + Box("udta", movieHnti)) +
                                        Box("udta", trackHnti));
    ASSERT_EQ(w->status, 0);
    const CBox& moov = *w->Top(0);
    const CBox& trackUdta = *moov.GetChild(0)->GetChild(0);
    const CBox& movieUdta = *moov.GetChild(1);
    const CBox& topUdta = *w->Top(1);
    EXPECT_EQ(dynamic_cast<const CUserDataBox&>(trackUdta).m_parentType, FourCC("trak"));
    EXPECT_NE(dynamic_cast<const CRtpTrackSdpHintInformation*>(trackUdta.GetChild(0)->GetChild(0)), nullptr);
    EXPECT_NE(dynamic_cast<const CRtpMovieHintInformation*>(movieUdta.GetChild(0)->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*topUdta.GetChild(0)), typeid(CBox));  // no movie or track above: a plain box
    // The hnti title follows the udta's own parent.
    EXPECT_EQ(PageOf(*movieUdta.GetChild(0), &movieUdta).title, "Movie SDP information");
    EXPECT_EQ(PageOf(*trackUdta.GetChild(0), &trackUdta).title, "Track SDP information");
    EXPECT_EQ(PageOf(*topUdta.GetChild(0), &topUdta).title, "SDP Information");
    EXPECT_TRUE(PageOf(*topUdta.GetChild(0)).tables.empty());
}

TEST(ItemInfoBoxes, EntryVersionsTheCorpusLacks) {
    // Version 3: a 32-bit item ID; version 0 without a content encoding.
    const std::string v0 = FullBox("infe", 0, 0, U16(1) + U16(0) + std::string("a\0text/plain\0", 13));
    const std::string uri = FullBox("infe", 3, 0, U32(0x12345) + U16(0) + "uri " + std::string("u\0urn:x\0", 8));
    auto iinf = ParseLeaf<CItemInfoBox>(FullBox("iinf", 1, 0, U32(2) + v0 + uri));
    ASSERT_EQ(iinf.status, 0);
    ASSERT_EQ(iinf->GetChildCount(), 2u);
    EXPECT_EQ(dynamic_cast<const CItemInfoEntry*>(iinf->GetChild(0))->m_contentEncoding, "");
    const PageModel page = PageOf(*iinf->GetChild(1));
    EXPECT_EQ(Value(page, "Item id"), "74565 (0X00012345)");
    EXPECT_EQ(Value(page, "Item uri type"), "urn:x");

    // Version 0: a 16-bit count. A name without its zero byte fails the entry.
    auto small = ParseLeaf<CItemInfoBox>(FullBox("iinf", 0, 0, U16(1) + v0));
    EXPECT_EQ(small.status, 0);
    EXPECT_EQ(small->GetChildCount(), 1u);
    EXPECT_EQ(ParseLeaf<CItemInfoEntry>(FullBox("infe", 2, 0, U16(1) + U16(0) + "mime" + "nozero")).status, -1);
}

TEST(TrackGroupingBoxes, SelectionAndGroups) {
    // An attribute cut short fails the tsel; a group type other than msrc is a plain box.
    EXPECT_EQ(ParseLeaf<CTrackSelectionBox>(FullBox("tsel", 0, 0, U32(2) + "la")).status, -1);
    auto trgr = ParseLeaf<CTrackGroupbox>(Box("trgr", FullBox("msrc", 0, 0, U32(100)) + FullBox("ster", 0, 0, U32(1))));
    ASSERT_EQ(trgr.status, 0);
    EXPECT_NE(dynamic_cast<const CTrackGroupTypeBox*>(trgr->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*trgr->GetChild(1)), typeid(CBox));
}
