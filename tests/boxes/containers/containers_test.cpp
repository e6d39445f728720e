// The child loop of the containers, on hand-built boxes.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/streaming/user_types.h"
#include "support/parse_file.h"

namespace {
std::vector<std::string> ChildTypes(const CBox& box) {
    std::vector<std::string> types;
    for (const auto& c : box.m_children) types.push_back(c->TypeText());
    return types;
}

const uint8_t kOther[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
}  // namespace

TEST(Containers, ChildLoopEdgeCases) {
    // A header-only udta, then a trak with unread payload: neither shifts what follows.
    auto w = ParseFile("small.mp4", Box("moov", Box("udta", "") + Box("trak", Box("edts", "") + "zzzzz") + Box("trak", "")));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(ChildTypes(*w->Top(0)), (std::vector<std::string>{"udta", "trak", "trak"}));
    EXPECT_EQ(w->Top(0)->GetChild(2)->m_startOffset, 37);

    // A child that leaves payload bytes unread keeps their count; its sibling starts at its declared end.
    w = ParseFile("unread.mp4", Box("moov", Box("trak", Box("mdia", FullBox("mdhd", 0, 0, std::string(20, '\0') + "abc") +
                                                                     Box("zzzz", "")))));
    const CBox& mdia = *w->Top(0)->GetChild(0)->GetChild(0);
    EXPECT_EQ(mdia.GetChild(0)->m_unreadBytes, 3u);
    EXPECT_EQ(mdia.GetChild(1)->m_type, FourCC("zzzz"));
    EXPECT_EQ(mdia.m_unreadBytes, 0u);

    // A child of size 0 takes the rest of its container.
    w = ParseFile("size0child.mp4", Box("moov", Box("trak", "") + U32(0) + "free" + Box("trak", "")) + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(ChildTypes(*w->Top(0)), (std::vector<std::string>{"trak", "free"}));
    EXPECT_EQ(w->Count(), 2u);

    // A child claiming more than its container holds gets only what remains; the next
    // top-level box is still found. It claims more than the file holds: the run fails.
    w = ParseFile("overrun.mp4", Box("moov", U32(1000) + "wxyz" + "abcd") + Box("free", ""));
    EXPECT_EQ(w->status, -1);
    EXPECT_EQ(ChildTypes(*w->Top(0)), (std::vector<std::string>{"wxyz"}));
    EXPECT_TRUE(w->Top(0)->GetChild(0)->IsTruncated());
    EXPECT_FALSE(w->Top(0)->IsTruncated());
    EXPECT_EQ(w->Top(1)->m_type, FourCC("free"));

    // moov/trak nesting is unbounded in the format: a deep chain must neither crash nor hang.
    std::string inner = Box("stbl", "");
    for (int i = 0; i < 2000; ++i) inner = Box(i % 2 ? "moov" : "trak", inner);
    EXPECT_GE(ParseFile("deep.mp4", inner)->Count(), 1u);
}

TEST(Containers, HandlerTypeMustComeBeforeMinf) {
    std::string minf = Box("minf", Box("stbl", Box("free", "")));
    auto good = ParseFile("hdlr_first.mp4", Box("moov", Box("trak", Box("mdia", Hdlr("vide") + minf))));
    EXPECT_EQ(good->status, 0);
    const CBox& mdia = *good->Top(0)->GetChild(0)->GetChild(0);
    const auto* stbl = dynamic_cast<const CSampleTableBox*>(mdia.GetChild(1)->GetChild(0));
    ASSERT_NE(stbl, nullptr);
    EXPECT_EQ(stbl->m_handlerType, FourCC("vide"));

    // minf before hdlr: the mdia fails, no minf child, the walk stops; what came before stays.
    auto bad = ParseFile("minf_first.mp4", Box("moov", Box("trak", Box("mdia", minf + Hdlr("vide")))) + Box("free", ""));
    EXPECT_EQ(bad->status, -1);
    EXPECT_EQ(bad->Count(), 1u);
    EXPECT_EQ(bad->Top(0)->GetChild(0)->GetChild(0)->GetChildCount(), 0u);
}

TEST(Containers, UnknownAndUuidChildrenNeverFail) {
    std::string traf = Box("traf", UuidBox(kTfxdUserType, U8(1) + U24(0) + U64(1) + U64(2)) + UuidBox(kTfrfUserType, U8(1) + U24(0) + U8(0)) +
                                       UuidBox(kOther, "zz") + Box("tfhd", std::string(8, '\0')));
    std::string tref = Box("tref", Box("hint", U32(1)) + Box("cdsc", U32(2)) + Box("abcd", U32(3)));
    auto w = ParseFile("uuid.mp4", Box("moof", traf) + Box("moov", Box("trak", tref)));
    EXPECT_EQ(w->status, 0);
    const CBox& parsedTraf = *w->Top(0)->GetChild(0);
    EXPECT_EQ(ChildTypes(parsedTraf), (std::vector<std::string>{"uuid", "uuid", "uuid", "tfhd"}));
    EXPECT_EQ(parsedTraf.GetChild(1)->m_userType[0], 0xD4);
    EXPECT_EQ(ChildTypes(*w->Top(1)->GetChild(0)->GetChild(0)), (std::vector<std::string>{"hint", "cdsc", "abcd"}));
}
