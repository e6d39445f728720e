// Tags, item lists, item locations and XML boxes on hand-built bytes: the versions,
// value types and failures the corpus lacks. The corpus items are checked against
// MediaInfo and AtomicParsley, and every row by the spans property.
#include <gtest/gtest.h>

#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/metadata/tag_boxes.h"
#include "boxes/metadata/xml_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"

namespace {
// An ilst item holding one data box.
std::string Item(const std::string& name, uint32_t type, const std::string& value) {
    return Box(name, Box("data", U32(type) + U32(0) + value));
}
}  // namespace

TEST(TagBoxes, RefusedForms) {
    // Text is escaped in the page's markup.
    auto titl = ParseLeaf<CTagBox>(FullBox("titl", 0, 0, U16(0x15C7) + std::string("A <title>\0", 10)));
    ASSERT_EQ(titl.status, 0);
    EXPECT_EQ(PageOf(*titl.box).tables.at(1).rows.at(2).value.Html(), "A &lt;title&gt;");
    EXPECT_EQ(ParseLeaf<CCopyrightBox>(FullBox("titl", 0, 0, U16(0))).status, -1);  // only a cprt is one
    EXPECT_EQ(ParseLeaf<CTagBox>(FullBox("auth", 0, 0, "")).status, -1);            // no language
}

TEST(IlstBox, RecordsByDataType) {
    const std::string cover = "\xFF\xD8\xFF\xE0" + std::string(40, 'x');
    auto ilst = ParseLeaf<CIlstBox>(Box("ilst", Item("\xA9nam", 1, "Song") + Item("trkn", 0, U16(0) + U16(3) + U16(12) + U16(0)) +
                                                    Item("tmpo", 21, U16(0xFF80)) + Item("covr", 13, cover)));
    // A signed tempo and a long cover image as the corpus files do not hold them.
    ASSERT_EQ(ilst.status, 0);
    ASSERT_EQ(ilst->m_tagCount, 4u);
    const PageModel page = PageOf(*ilst.box);
    EXPECT_EQ(Cells(page, 2, 2).back(), "-128");
    EXPECT_EQ(Cells(page, 2, 3).back(),
              "44 bytes: 0xff 0xd8 0xff 0xe0 0x78 0x78 0x78 0x78 0x78 0x78 0x78 0x78 0x78 0x78 0x78 0x78 ...");

    // A tag length below a record header fails that record; the records before it stay.
    auto shortTag = ParseLeaf<CIlstBox>(Box("ilst", Item("\xA9nam", 1, "Song") + U32(8) + "free" + std::string(16, '\0')));
    EXPECT_EQ(shortTag.status, -1);
    EXPECT_EQ(shortTag->m_tagCount, 1u);
    // A payload longer than the box, or bytes ending inside a header: the same.
    auto longTag = ParseLeaf<CIlstBox>(Box("ilst", Item("\xA9nam", 1, "Song") + U32(0xFFFFFFF0) + "\xA9" "ART" + std::string(16, '\0')));
    EXPECT_EQ(longTag.status, -1);
    EXPECT_EQ(longTag->m_tagCount, 1u);
    EXPECT_EQ(ParseLeaf<CIlstBox>(Box("ilst", Item("\xA9nam", 1, "Song") + U32(0))).status, -1);
    EXPECT_EQ(ParseLeaf<CIlstBox>(Box("ilst", "")).status, 0);
}

TEST(ItemLocationBox, VersionsFieldSizesAndExtents) {
    // Version 2: 4-byte item IDs and count, base offset size 0, offset and length of 4 bytes.
    std::string items = U32(0x10001) + U16(0x0001) + U16(0) + U16(2) + U32(100) + U32(10) + U32(200) + U32(20) +
                        U32(0x10002) + U16(0) + U16(0) + U16(0);
    auto v2 = ParseLeaf<CItemLocationBox>(FullBox("iloc", 2, 0, U8(0x44) + U8(0x00) + U32(2) + items));
    ASSERT_EQ(v2.status, 0);
    ASSERT_EQ(v2->m_items.size(), 2u);
    EXPECT_EQ(v2->GetItem(0)->extents.at(1).offset, 200u);
    const PageModel page = PageOf(*v2.box);
    EXPECT_EQ(Cells(page, 2, 0), (std::vector<std::string>{"65537", "0", "1", "0", "0", "2", "0", "100", "10"}));
    // An item without extents: its extent cells are empty.
    EXPECT_EQ(Cells(page, 2, 1), (std::vector<std::string>{"65538", "0", "0", "0", "0", "0", "", "", ""}));

    // Version 0: 16-bit IDs, the fourth nibble reserved, 8-byte fields.
    auto v0 = ParseLeaf<CItemLocationBox>(FullBox("iloc", 0, 0, U8(0x88) + U8(0x83) + U16(1) + U16(7) + U16(0) +
                                                                     U64(0x100000000ull) + U16(1) + U64(5) + U64(6)));
    ASSERT_EQ(v0.status, 0);
    EXPECT_EQ(v0->m_reserved, 3u);
    EXPECT_EQ(v0->GetItem(0)->baseOffset, 0x100000000ull);
    EXPECT_EQ(v0->GetItem(0)->extents.at(0).length, 6u);
    // Version 1 with an index size: each extent starts with its index.
    auto v1 = ParseLeaf<CItemLocationBox>(
        FullBox("iloc", 1, 0, U8(0x44) + U8(0x04) + U16(1) + U16(9) + U16(0) + U16(0) + U16(1) + U32(3) + U32(4) + U32(5)));
    ASSERT_EQ(v1.status, 0);
    EXPECT_EQ(v1->GetItem(0)->extents.at(0).index, 3u);
    EXPECT_EQ(v1->GetItem(0)->extents.at(0).length, 5u);

    // A field size other than 0, 4 and 8 fails the box.
    EXPECT_EQ(ParseLeaf<CItemLocationBox>(FullBox("iloc", 0, 0, U8(0x42) + U8(0) + U16(0))).status, -1);
    EXPECT_EQ(ParseLeaf<CItemLocationBox>(FullBox("iloc", 1, 0, U8(0x44) + U8(0x05) + U16(0))).status, -1);
    // Counts the bytes cannot hold fail after what fits, reserving no more than that.
    auto hostile = ParseLeaf<CItemLocationBox>(FullBox("iloc", 2, 0, U8(0x44) + U8(0) + U32(0xFFFFFFFF) + items));
    EXPECT_EQ(hostile.status, -1);
    EXPECT_LE(hostile->m_items.capacity(), 4u);
    auto extents = ParseLeaf<CItemLocationBox>(FullBox("iloc", 0, 0, U8(0x44) + U8(0) + U16(1) + U16(1) + U16(0) + U16(0xFFFF) + U32(1) + U32(2)));
    EXPECT_EQ(extents.status, -1);
    EXPECT_EQ(extents->m_items.size(), 0u);
    // Extents of no bytes are all zero: counted, not stored.
    auto empty = ParseLeaf<CItemLocationBox>(FullBox("iloc", 0, 0, U8(0x00) + U8(0) + U16(1) + U16(1) + U16(0) + U16(0xFFFF)));
    ASSERT_EQ(empty.status, 0);
    EXPECT_EQ(empty->GetItem(0)->extentCount, 0xFFFFu);
    EXPECT_TRUE(empty->GetItem(0)->extents.empty());
    EXPECT_EQ(Cells(PageOf(*empty.box), 2, 0).back(), "0");
}

TEST(XmlBoxes, TextBinaryAndRelation) {
    // Without a zero byte: all of the text and nothing past the payload (the bytes after
    // the box hold more text and a zero); the box fails.
    const std::string bytes = FullBox("xml ", 0, 0, "<a/>") + std::string("tail\0", 5);
    CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), (bytes.size() - 5) * 8);
    CBox header;
    ASSERT_EQ(header.ParseBox(reader), 0);
    CXMLBox open(header);
    EXPECT_EQ(open.ParseBox(reader), -1);
    EXPECT_EQ(Value(PageOf(open), "XML"), "<a/>");

    // Long binary XML is shown cut, with its length.
    auto big = ParseLeaf<CBinaryXMLBox>(FullBox("bxml", 0, 0, std::string(5000, 'x')));
    EXPECT_EQ(Value(PageOf(*big.box), "Data").substr(0, 20), "5000 bytes: 0x78 0x7");

    EXPECT_EQ(ParseLeaf<CMetaboxRelationBox>(FullBox("mere", 0, 0, "mp7t" + std::string("mp7b"))).status, -1);
}
