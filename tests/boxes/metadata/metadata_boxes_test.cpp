// Tags, item lists, item locations and information, XML, udta and meta boxes on
// hand-built bytes: the versions, value types and forms the corpus lacks read in full
// (every row decoding to its value), then the classes by parent and the failures. The
// corpus items (kitchen_sink.mp4 above all) are checked against MediaInfo and
// AtomicParsley, and every row by the spans property.
#include <gtest/gtest.h>

#include "boxes/items/primary_item_box.h"
#include "boxes/metadata/hint_information_boxes.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/metadata/tag_boxes.h"
#include "boxes/metadata/track_grouping_boxes.h"
#include "boxes/metadata/xml_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
// An ilst item holding one data box.
std::string Item(const std::string& name, uint32_t type, const std::string& value) {
    return Box(name, Box("data", U32(type) + U32(0) + value));
}
std::string InMeta(const std::string& boxes) { return FullBox("meta", 0, 0, Hdlr("pict") + boxes); }
// Version 2: 4-byte item IDs and count, base offset size 0, offset and length of 4 bytes;
// the second item has no extents.
const std::string kItems = U32(0x10001) + U16(0x0001) + U16(0) + U16(2) + U32(100) + U32(10) + U32(200) + U32(20) +
                           U32(0x10002) + U16(0) + U16(0) + U16(0);
const std::string kInfeV0 = FullBox("infe", 0, 0, U16(1) + U16(0) + std::string("a\0text/plain\0", 13));
}  // namespace

TEST(MetadataBoxes, LayoutsTheCorpusLacksReadInFull) {
    const std::string children = Hdlr("mdir") + Box("ilst", Item("\xA9nam", 1, "x"));
    const std::string ilst = Box("ilst", Item("trkn", 0, U16(0) + U16(3) + U16(12) + U16(0)) +
                                             Item("tmpo", 21, U16(0xFF80)) + Item("covr", 13, std::string(44, 'x')));
    ExpectReadInFull({
        {"ilst of a tempo and a cover", Box("moov", Box("udta", FullBox("meta", 0, 0, Hdlr("mdir") + ilst)))},
        // Both forms of meta: the QuickTime form has no version and flags.
        {"meta of both forms", Box("moov", Box("udta", FullBox("meta", 0, 0, children) + Box("meta", children)))},
        {"iloc version 2", InMeta(FullBox("iloc", 2, 0, U8(0x44) + U8(0x00) + U32(2) + kItems))},
        // Version 0: 16-bit IDs, the fourth nibble reserved, 8-byte fields.
        {"iloc version 0", InMeta(FullBox("iloc", 0, 0, U8(0x88) + U8(0x83) + U16(1) + U16(7) + U16(0) +
                                                           U64(0x100000000ull) + U16(1) + U64(5) + U64(6)))},
        // Version 1 with an index size: each extent starts with its index.
        {"iloc version 1", InMeta(FullBox("iloc", 1, 0, U8(0x44) + U8(0x04) + U16(1) + U16(9) + U16(0) + U16(0) +
                                                           U16(1) + U32(3) + U32(4) + U32(5)))},
        // Extents of no bytes are all zero: counted, not stored.
        {"iloc of empty extents", InMeta(FullBox("iloc", 0, 0, U16(0) + U16(1) + U16(1) + U16(0) + U16(0xFFFF)))},
        // Version 3: a 32-bit item ID; version 0 without a content encoding.
        {"iinf version 1 of infe versions 0 and 3",
         InMeta(FullBox("iinf", 1, 0, U32(2) + kInfeV0 + FullBox("infe", 3, 0, U32(0x12345) + U16(0) + "uri " +
                                                                              std::string("u\0urn:x\0", 8))))},
    });

    // A tempo is signed.
    auto tmpo = ParseLeaf<CIlstBox>(Box("ilst", Item("tmpo", 21, U16(0xFF80))));
    EXPECT_EQ(Cells(PageOf(*tmpo.box), 2, 0).back(), "-128");
}

TEST(MetadataBoxes, ClassesByParentAndForm) {
    // The QuickTime form of meta (read in full above): its first bytes are its child's, so
    // its page has no version rows.
    const std::string children = Hdlr("mdir") + Box("ilst", "");
    auto w = ParseFile("meta.mp4", Box("moov", Box("udta", FullBox("meta", 0, 0, children) + Box("meta", children) +
                                                               FullBox("meta", 0, 0, Box("pitm", U32(0) + U16(1))))));
    ASSERT_EQ(w->status, 0);
    const CBox& udta = *w->Top(0)->GetChild(0);
    EXPECT_EQ(PageOf(*udta.GetChild(1), &udta).tables.at(0).rows.size(), 3u);
    EXPECT_EQ(typeid(*udta.GetChild(2)->GetChild(0)), typeid(CPrimaryItemBox));

    // The hint information of a udta follows the udta's own parent: a plain box at the top.
    const std::string movieHnti = Box("hnti", Box("rtp ", "sdp " + std::string("v=0\r\n")));
    const std::string trackHnti = Box("hnti", Box("sdp ", "m=video 0 RTP/AVP 96\r\n"));
    const std::string hinted = Box("moov", Box("trak", Box("udta", trackHnti)) + Box("udta", movieHnti));
    w = ParseFile("udta.mp4", hinted + Box("udta", trackHnti));
    ASSERT_EQ(w->status, 0);
    const CBox& moov = *w->Top(0);
    EXPECT_NE(dynamic_cast<const CRtpTrackSdpHintInformation*>(moov.GetChild(0)->GetChild(0)->GetChild(0)->GetChild(0)),
              nullptr);
    EXPECT_NE(dynamic_cast<const CRtpMovieHintInformation*>(moov.GetChild(1)->GetChild(0)->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*w->Top(1)->GetChild(0)), typeid(CBox));

    // A track group of msrc is one; of another type a plain box.
    auto trgr = ParseLeaf<CTrackGroupbox>(Box("trgr", FullBox("msrc", 0, 0, U32(100)) + FullBox("ster", 0, 0, U32(1))));
    EXPECT_NE(dynamic_cast<const CTrackGroupTypeBox*>(trgr->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*trgr->GetChild(1)), typeid(CBox));
}

TEST(MetadataBoxes, Failures) {
    Failing<CCopyrightBox>(FullBox("titl", 0, 0, U16(0)));  // only a cprt is one
    Failing<CTagBox>(FullBox("auth", 0, 0, ""));            // no language
    Failing<CMetaboxRelationBox>(FullBox("mere", 0, 0, "mp7t" + std::string("mp7b")));
    Failing<CItemInfoEntry>(FullBox("infe", 2, 0, U16(1) + U16(0) + "mime" + "nozero"));
    Failing<CTrackSelectionBox>(FullBox("tsel", 0, 0, U32(2) + "la"));

    // ilst: a tag length below a record header, past the box, or bytes ending inside a
    // header fail that record; the records before it stay.
    const std::string song = Item("\xA9nam", 1, "Song");
    const std::string zeros(16, '\0');
    EXPECT_EQ(Failing<CIlstBox>(Box("ilst", song + U32(8) + "free" + zeros))->m_tagCount, 1u);
    EXPECT_EQ(Failing<CIlstBox>(Box("ilst", song + U32(0xFFFFFFF0) + "\xA9" "ART" + zeros))->m_tagCount, 1u);
    Failing<CIlstBox>(Box("ilst", song + U32(0)));

    // iloc: a field size other than 0, 4 and 8 fails the box; counts the bytes cannot hold
    // fail after what fits, reserving no more than that.
    Failing<CItemLocationBox>(FullBox("iloc", 0, 0, U8(0x42) + U8(0) + U16(0)));
    Failing<CItemLocationBox>(FullBox("iloc", 1, 0, U8(0x44) + U8(0x05) + U16(0)));
    auto hostile = Failing<CItemLocationBox>(FullBox("iloc", 2, 0, U8(0x44) + U8(0) + U32(0xFFFFFFFF) + kItems));
    EXPECT_LE(hostile->m_items.capacity(), 4u);
    auto extents = Failing<CItemLocationBox>(
        FullBox("iloc", 0, 0, U8(0x44) + U8(0) + U16(1) + U16(1) + U16(0) + U16(0xFFFF) + U32(1) + U32(2)));
    EXPECT_EQ(extents->m_items.size(), 0u);

    // xml without a zero byte: all of the text and nothing past the payload (the bytes
    // after the box hold more text and a zero); the box fails.
    const std::string bytes = FullBox("xml ", 0, 0, "<a/>") + std::string("tail\0", 5);
    CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), (bytes.size() - 5) * 8);
    CBox header;
    ASSERT_EQ(header.ParseBox(reader), 0);
    CXMLBox open(header);
    EXPECT_EQ(open.ParseBox(reader), -1);
    EXPECT_EQ(Value(PageOf(open), "XML"), "<a/>");
}
