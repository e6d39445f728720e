// udta and meta with their children: the parent-type rule of udta, both forms of meta,
// item information entries, track selection and groups, hint information.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/metadata/hint_information_boxes.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/tag_boxes.h"
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
    const std::string tags = FullBox("cprt", 0, 0, U16(0x15C7) + std::string("c\0", 2)) + FullBox("tsel", 0, 0, U32(1) + "bitr") +
                             FullBox("perf", 0, 0, U16(0x15C7) + "p") + Box("yrrc", U16(0));
    auto w = ParseFile("udta.mp4", Box("moov", Box("trak", Box("udta", trackHnti)) + Box("udta", movieHnti + tags)) +
                                        Box("udta", trackHnti));
    ASSERT_EQ(w->status, 0);
    const CBox& moov = *w->Top(0);
    const CBox& trackUdta = *moov.GetChild(0)->GetChild(0);
    const CBox& movieUdta = *moov.GetChild(1);
    const CBox& topUdta = *w->Top(1);
    EXPECT_EQ(dynamic_cast<const CUserDataBox&>(trackUdta).m_parentType, FourCC("trak"));
    auto* sdp = dynamic_cast<const CRtpTrackSdpHintInformation*>(trackUdta.GetChild(0)->GetChild(0));
    ASSERT_NE(sdp, nullptr);
    EXPECT_EQ(Value(PageOf(*sdp), "SDP text"), "m=video 0 RTP/AVP 96\r\n");
    auto* rtp = dynamic_cast<const CRtpMovieHintInformation*>(movieUdta.GetChild(0)->GetChild(0));
    ASSERT_NE(rtp, nullptr);
    EXPECT_EQ(rtp->m_descriptionFormat, FourCC("sdp "));
    EXPECT_EQ(Value(PageOf(*rtp), "SDP text"), "v=0\r\n");
    EXPECT_EQ(typeid(*topUdta.GetChild(0)), typeid(CBox));  // no movie or track above: a plain box
    // The hnti title follows the udta's own parent.
    EXPECT_EQ(PageOf(*movieUdta.GetChild(0), &movieUdta).title, "Movie SDP information");
    EXPECT_EQ(PageOf(*trackUdta.GetChild(0), &trackUdta).title, "Track SDP information");
    EXPECT_EQ(PageOf(*topUdta.GetChild(0), &topUdta).title, "SDP Information");
    EXPECT_TRUE(PageOf(*topUdta.GetChild(0)).tables.empty());

    EXPECT_NE(dynamic_cast<const CCopyrightBox*>(movieUdta.GetChild(1)), nullptr);
    EXPECT_NE(dynamic_cast<const CTrackSelectionBox*>(movieUdta.GetChild(2)), nullptr);
    EXPECT_NE(dynamic_cast<const CTagBox*>(movieUdta.GetChild(3)), nullptr);
    EXPECT_EQ(PageOf(*movieUdta.GetChild(3), &movieUdta).title, "Performer metadata tag");
    EXPECT_EQ(typeid(*movieUdta.GetChild(4)), typeid(CBox));  // yrrc: no class of its own
}

TEST(ItemInfoBoxes, EntriesOfEveryVersion) {
    const std::string v0 = FullBox("infe", 0, 0, U16(1) + U16(0) + std::string("a\0text/plain\0", 13));  // no encoding
    const std::string mime = FullBox("infe", 2, 0, U16(2) + U16(0) + "mime" + std::string("m\0text/xml\0gzip\0", 17));
    const std::string uri = FullBox("infe", 3, 0, U32(0x12345) + U16(0) + "uri " + std::string("u\0urn:x\0", 8));
    const std::string fdelFields = std::string("http://a\0\0", 10) + U64(5) + U64(6) + U8(2) + U32(7) + U32(8);
    const std::string framed = FullBox("infe", 1, 0, U16(4) + U16(0) + std::string("f\0t\0\0", 5) + "fdel" + Box("fdel", fdelFields));
    const std::string unframed = FullBox("infe", 1, 0, U16(5) + U16(0) + std::string("g\0t\0\0", 5) + "fdel" + fdelFields);
    auto iinf = ParseLeaf<CItemInfoBox>(FullBox("iinf", 1, 0, U32(5) + v0 + mime + uri + framed + unframed));
    ASSERT_EQ(iinf.status, 0);
    EXPECT_EQ(iinf->m_entryCount, 5u);  // 32 bits in version 1
    ASSERT_EQ(iinf->GetChildCount(), 5u);
    auto entry = [&](size_t i) { return dynamic_cast<const CItemInfoEntry*>(iinf->GetChild(i)); };
    EXPECT_EQ(entry(0)->m_contentEncoding, "");
    PageModel page = PageOf(*entry(1));
    EXPECT_EQ(Value(page, "Content type"), "text/xml");
    EXPECT_EQ(Value(page, "Content encoding"), "gzip");
    EXPECT_EQ(Value(page, "Item uri type"), "");
    EXPECT_EQ(Value(page, "Item type"), "1835625829 (0X6D696D65)");
    page = PageOf(*entry(2));
    EXPECT_EQ(Value(page, "Item id"), "74565 (0X00012345)");  // 32 bits in version 3
    EXPECT_EQ(Value(page, "Item uri type"), "urn:x");
    EXPECT_EQ(Value(page, "Content type"), "");
    // An extension as a box is a child; as its fields alone, part of the entry.
    auto* fdel = dynamic_cast<const CFDItemInfoExtension*>(entry(3)->GetChild(0));
    ASSERT_NE(fdel, nullptr);
    EXPECT_EQ(fdel->m_groupIds, (std::vector<uint32_t>{7, 8}));
    page = PageOf(*fdel);
    EXPECT_EQ(page.title, "FD Item Info Extension Box");
    EXPECT_EQ(Value(page, "Content location"), "http://a");
    EXPECT_EQ(Value(page, "Transfer length"), "6 (0X00000006)");
    ASSERT_NE(entry(4)->m_extension, nullptr);
    EXPECT_EQ(entry(4)->GetChildCount(), 0u);
    page = PageOf(*entry(4));
    EXPECT_EQ(page.tables.at(2).title, "FD Item Info Extension");
    EXPECT_EQ(Cells(page, 3, 1), (std::vector<std::string>{"8"}));

    // Version 0: a 16-bit count. A name without its zero byte fails the entry.
    auto small = ParseLeaf<CItemInfoBox>(FullBox("iinf", 0, 0, U16(1) + v0));
    EXPECT_EQ(small.status, 0);
    EXPECT_EQ(small->GetChildCount(), 1u);
    EXPECT_EQ(ParseLeaf<CItemInfoEntry>(FullBox("infe", 2, 0, U16(1) + U16(0) + "mime" + "nozero")).status, -1);
}

TEST(TrackGroupingBoxes, SelectionAndGroups) {
    auto tsel = ParseLeaf<CTrackSelectionBox>(FullBox("tsel", 0, 0, U32(2) + "lang" + "bitr" + "cdec"));
    ASSERT_EQ(tsel.status, 0);
    PageModel page = PageOf(*tsel.box);
    EXPECT_EQ(Value(page, "Attribute count"), "3 (0X00000003)");
    EXPECT_EQ(page.tables.at(2).title, "Attributis");
    EXPECT_EQ(Cells(page, 2, 2), (std::vector<std::string>{"1667523939"}));  // 'cdec'
    EXPECT_EQ(ParseLeaf<CTrackSelectionBox>(FullBox("tsel", 0, 0, U32(2) + "la")).status, -1);

    auto trgr = ParseLeaf<CTrackGroupbox>(Box("trgr", FullBox("msrc", 0, 0, U32(100)) + FullBox("ster", 0, 0, U32(1))));
    ASSERT_EQ(trgr.status, 0);
    auto* msrc = dynamic_cast<const CTrackGroupTypeBox*>(trgr->GetChild(0));
    ASSERT_NE(msrc, nullptr);
    EXPECT_EQ(Value(PageOf(*msrc), "Group id"), "100 (0X00000064)");
    EXPECT_EQ(typeid(*trgr->GetChild(1)), typeid(CBox));
}
