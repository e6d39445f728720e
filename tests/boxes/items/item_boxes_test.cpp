// The item boxes on hand-built bytes: the properties and versions the corpus lacks read
// in full (every row decoding to its value), the values of the wider forms, and the
// items list of a meta whose data lies in its idat.
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

TEST(ItemBoxes, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        {"properties and a wide ipma", InMeta(Box("iprp", kProperties + kIpmaWide))},
        {"pitm and iref version 1", InMeta(FullBox("pitm", 1, 0, U32(70000)) +
                                           FullBox("iref", 1, 0, Box("dimg", U32(1) + U16(2) + U32(2) + U32(3))))},
        {"iref version 0", InMeta(FullBox("iref", 0, 0, Box("thmb", U16(2) + U16(1) + U16(1))))},
        {"grpl of altr and ster", InMeta(Box("grpl", FullBox("altr", 0, 0, U32(9) + U32(2) + U32(1) + U32(2)) +
                                                         FullBox("ster", 0, 0, U32(10) + U32(2) + U32(3) + U32(4))))},
        {"idat", InMeta(Box("idat", "abcdef"))},
    });
}

TEST(ItemBoxes, WideFormsAndUnknownKinds) {
    auto w = ParseFile("items.heif", InMeta(Box("iprp", kProperties + kIpmaWide) +
                                            FullBox("iref", 1, 0, Box("dimg", U32(1) + U16(2) + U32(2) + U32(3))) +
                                            Box("grpl", FullBox("eqiv", 0, 0, U32(5) + U32(1) + U32(8)))));
    ASSERT_EQ(w->status, 0);
    const CBox& meta = *w->Top(0);
    const CBox* iprp = meta.RetrieveChildBox(FourCC("iprp"), true);
    const auto* ipma = dynamic_cast<const CItemPropertyAssociationBox*>(iprp->GetChild(1));
    ASSERT_NE(ipma, nullptr);
    ASSERT_EQ(ipma->m_entries.size(), 2u);
    EXPECT_EQ(ipma->m_entries[0].associations[0].essential, 1u);
    EXPECT_EQ(ipma->m_entries[0].associations[1].index, 2u);
    EXPECT_EQ(ipma->m_entries[1].associations[0].index, 300u);
    const CBox* ipco = iprp->GetChild(0);
    EXPECT_EQ(PropertyName(ipco, 1), "ispe");
    EXPECT_EQ(PropertyName(ipco, 0), "none");
    EXPECT_EQ(PropertyName(ipco, 300), "missing");
    const auto* large = dynamic_cast<const CLayeredImageIndexingBox*>(ipco->GetChild(6));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(large->m_layerSize[2], 300u);

    const auto* dimg = dynamic_cast<const CItemReferenceTypeBox*>(meta.RetrieveChildBox(FourCC("iref"), true)->GetChild(0));
    ASSERT_NE(dimg, nullptr);
    EXPECT_EQ(dimg->m_toItemIDs, (std::vector<uint32_t>{2, 3}));
    // A group kind without an entry of its own shows the group rows under the common title.
    const CBox& grpl = *meta.RetrieveChildBox(FourCC("grpl"), true);
    ASSERT_NE(dynamic_cast<const CEntityToGroupBox*>(grpl.GetChild(0)), nullptr);
    const PageModel page = PageOf(*grpl.GetChild(0), &grpl);
    EXPECT_EQ(page.title, "Entity To Group Box");
    EXPECT_EQ(Cells(page, 2, 0), (std::vector<std::string>{"8"}));
}

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
