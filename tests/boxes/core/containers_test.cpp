// The child loop of the containers, on hand-built boxes.
#include <gtest/gtest.h>

#include "boxes/core/containers.h"
#include "boxes/core/corvel.h"
#include "support/box_builder.h"

namespace {
std::vector<std::string> ChildTypes(const CBox& box) {
    std::vector<std::string> types;
    for (const auto& c : box.m_children) types.push_back(c->TypeText());
    return types;
}

struct Walk {
    CCorvelLib lib;
    int status;
    const CBox& top(size_t i) { return *lib.Parser()->GetBox(i); }
};

std::unique_ptr<Walk> Parse(const std::string& name, const std::string& bytes) {
    auto w = std::make_unique<Walk>();
    EXPECT_EQ(w->lib.Init(WriteTempFile(name, bytes)), 0);
    w->status = w->lib.Go();
    return w;
}

const uint8_t kTfxd[16] = {0x6D, 0x1D, 0x9B, 0x05, 0x42, 0xD5, 0x44, 0xE6, 0x80, 0xE2, 0x14, 0x1D, 0xAF, 0xF7, 0x57, 0xB2};
const uint8_t kTfrf[16] = {0xD4, 0x80, 0x7E, 0xF2, 0xCA, 0x39, 0x46, 0x95, 0x8E, 0x54, 0x26, 0xCB, 0x9E, 0x46, 0xA7, 0x9F};
const uint8_t kOther[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
}  // namespace

TEST(Containers, ChildLoopEdgeCases) {
    // A header-only udta, then a trak: both kept with their own headers and offsets.
    auto w = Parse("small.mp4", Box("moov", Box("udta", "") + Box("trak", Box("tkhd", std::string(84, '\0')))));
    EXPECT_EQ(w->status, 0);
    const CBox& moov = w->top(0);
    EXPECT_EQ(ChildTypes(moov), (std::vector<std::string>{"udta", "trak"}));
    EXPECT_EQ(moov.GetChild(0)->BoxSize(), 8u);
    EXPECT_EQ(moov.GetChild(1)->m_startOffset, 16);
    EXPECT_EQ(ChildTypes(*moov.GetChild(1)), (std::vector<std::string>{"tkhd"}));

    // A child of size 0 takes the rest of its container.
    w = Parse("size0child.mp4", Box("moov", Box("trak", "") + U32(0) + "free" + Box("trak", "")) + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(ChildTypes(w->top(0)), (std::vector<std::string>{"trak", "free"}));
    EXPECT_EQ(w->lib.Parser()->GetBoxCount(), 2u);

    // A child claiming more than its container holds gets only what remains; the next
    // top-level box is still found.
    w = Parse("overrun.mp4", Box("moov", U32(1000) + "wxyz" + "abcd") + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(ChildTypes(w->top(0)), (std::vector<std::string>{"wxyz"}));
    EXPECT_EQ(w->top(1).m_type, FourCC("free"));

    // A child with unread payload does not shift its next sibling.
    w = Parse("unread.mp4", Box("moov", Box("trak", Box("edts", "") + std::string(5, 'z')) + Box("trak", "")));
    EXPECT_EQ(ChildTypes(w->top(0)), (std::vector<std::string>{"trak", "trak"}));
}

TEST(Containers, HandlerTypeMustComeBeforeMinf) {
    std::string minf = Box("minf", Box("stbl", Box("free", "")));
    auto good = Parse("hdlr_first.mp4", Box("moov", Box("trak", Box("mdia", Hdlr("vide") + minf))));
    EXPECT_EQ(good->status, 0);
    const CBox& mdia = *good->top(0).GetChild(0)->GetChild(0);
    const auto* info = dynamic_cast<const CMediaInformationBox*>(mdia.GetChild(1));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_handlerType, FourCC("vide"));
    const auto* stbl = dynamic_cast<const CSampleTableBox*>(info->GetChild(0));
    ASSERT_NE(stbl, nullptr);
    EXPECT_EQ(stbl->m_handlerType, FourCC("vide"));

    // minf before hdlr: the mdia fails, no minf child, the walk stops; what came before stays.
    auto bad = Parse("minf_first.mp4", Box("moov", Box("trak", Box("mdia", minf + Hdlr("vide")))) + Box("free", ""));
    EXPECT_EQ(bad->status, -1);
    EXPECT_EQ(bad->lib.Parser()->GetBoxCount(), 1u);
    const CBox& badMdia = *bad->top(0).GetChild(0)->GetChild(0);
    EXPECT_EQ(badMdia.GetChildCount(), 0u);
}

TEST(Containers, UnknownAndUuidChildrenNeverFail) {
    std::string traf = Box("traf", UuidBox(kTfxd, U8(1) + U24(0) + U64(1) + U64(2)) + UuidBox(kTfrf, U8(1) + U24(0) + U8(0)) +
                                       UuidBox(kOther, "zz") + Box("tfhd", std::string(8, '\0')));
    std::string tref = Box("tref", Box("hint", U32(1)) + Box("cdsc", U32(2)) + Box("abcd", U32(3)));
    auto w = Parse("uuid.mp4", Box("moof", traf) + Box("moov", Box("trak", tref)));
    EXPECT_EQ(w->status, 0);
    const CBox& parsedTraf = *w->top(0).GetChild(0);
    EXPECT_EQ(ChildTypes(parsedTraf), (std::vector<std::string>{"uuid", "uuid", "uuid", "tfhd"}));
    EXPECT_EQ(parsedTraf.GetChild(1)->m_userType[0], 0xD4);
    const CBox& parsedTref = *w->top(1).GetChild(0)->GetChild(0);
    EXPECT_EQ(ChildTypes(parsedTref), (std::vector<std::string>{"hint", "cdsc", "abcd"}));
}

TEST(Containers, HostileNestingIsBounded) {
    // meco inside meco is not a container, but moov/trak/mdia nesting is: a deep chain
    // of boxes that claim each other must neither crash nor hang.
    std::string inner = Box("stbl", "");
    for (int i = 0; i < 2000; ++i) inner = Box(i % 2 ? "moov" : "trak", inner);
    auto w = Parse("deep.mp4", inner);
    EXPECT_GE(w->lib.Parser()->GetBoxCount(), 1u);
}
