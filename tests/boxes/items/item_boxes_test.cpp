// The items list of a meta whose data lies in its idat, on hand-built bytes.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/items/entity_to_group_box.h"
#include "boxes/items/item_property_association_box.h"
#include "boxes/items/item_reference_type_box.h"
#include "boxes/items/layered_image_indexing_box.h"
#include "report/item_list.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
std::string InMeta(const std::string& boxes) { return FullBox("meta", 0, 0, Hdlr("pict") + boxes); }
std::string Infe(uint16_t id, const std::string& type) {
    return FullBox("infe", 2, 0, U16(id) + U16(0) + type + std::string("\0", 1));
}
// Version 1, flags 1: 32-bit item IDs and 15-bit indexes; item 1 has properties 1
// (essential) and 2, item 2 property 300 (past any ipco).
const std::string kIpmaWide = FullBox("ipma", 1, 1, U32(2) + U32(1) + U8(2) + U16(0x8001) + U16(2) + U32(2) + U8(1) + U16(300));
const std::string kProperties =
    Box("ipco", FullBox("ispe", 0, 0, U32(640) + U32(480)) + Box("irot", U8(3)) + Box("imir", U8(1)) +
                    FullBox("rloc", 0, 0, U32(16) + U32(32)) + Box("lsel", U16(2)) + Box("a1op", U8(1)) +
                    Box("a1lx", U8(1) + U32(100) + U32(200) + U32(300)) + Box("a1lx", U8(0) + U16(1) + U16(2) + U16(3)) +
                    FullBox("auxC", 0, 0, std::string("urn:x\0", 6) + U8(7) + U8(9)));
}  // namespace

// Items in the file and in the idat: construction method 1 places an extent in the
// idat's bytes; a length of 0 runs to the end of them.
TEST(ItemBoxes, ItemListPlacesExtents) {
    const std::string iinf = FullBox("iinf", 0, 0, U16(2) + Infe(1, "Exif") + Infe(2, "hvc1"));
    // Version 1: sizes 4/4, base offset 0, index 0; item 1 in the idat from byte 2 to its end,
    // item 2 at offset 0 of the file, 8 bytes.
    const std::string iloc = FullBox("iloc", 1, 0, U8(0x44) + U8(0x00) + U16(2) + U16(1) + U16(1) + U16(0) + U16(1) +
                                                       U32(2) + U32(0) + U16(2) + U16(0) + U16(0) + U16(1) + U32(0) + U32(8));
    auto w = ParseFile("idat.heif", InMeta(FullBox("pitm", 0, 0, U16(2)) + iloc + iinf + Box("idat", "abcdef")));
    ASSERT_EQ(w->status, 0);
    const std::vector<ItemSummary> items = SummarizeItems(*w->Top(0), 1000);
    ASSERT_EQ(items.size(), 2u);
    ASSERT_EQ(items[0].extentList.size(), 1u);
    EXPECT_TRUE(items[0].extentList[0].inIdat);
    EXPECT_TRUE(items[0].extentList[0].inside);
    EXPECT_EQ(items[0].totalSize, 4u);
    EXPECT_FALSE(items[0].primary);
    EXPECT_TRUE(items[1].primary);
    EXPECT_EQ(items[1].extents, "0+8");
}
