// The top-level walk and the child loop of the containers over hand-built files on disk:
// the ends, sizes and orders the corpus files lack (the corpus walks ordinary files,
// empty.mp4, size0_last_mdat.mp4 and plain FLV files, and cuts every file short).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "boxes/streaming/user_types.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
const uint8_t kOther[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
}  // namespace

TEST(ParseDriver, FileEnds) {
    // A last box claiming more than the file holds: parsed from what is there only,
    // marked with its children, and the run fails.
    std::string moov = Box("moov", Box("trak", Box("tkhd", std::string(84, '\0'))));
    auto truncated = ParseFile("truncated.mp4", Box("free", "") + moov.substr(0, moov.size() - 40));
    EXPECT_EQ(truncated->status, -1);
    ASSERT_EQ(truncated->Count(), 2u);
    const CBox& cut = *truncated->Top(1);
    EXPECT_EQ(cut.BoxSize(), moov.size());
    EXPECT_EQ(cut.PresentSize(), moov.size() - 40);
    EXPECT_TRUE(cut.GetChild(0)->GetChild(0)->IsTruncated());  // the tkhd
    EXPECT_FALSE(truncated->Top(0)->IsTruncated());

    // The file ends inside a header: a box of what the header says, truncated, fails the
    // walk; boxes before it stay. Of a size field, the size; without one, a header's 8 bytes.
    auto tail = ParseFile("tail.mp4", Box("free", "") + U32(4000) + "fr");
    EXPECT_EQ(tail->status, -1);
    ASSERT_EQ(tail->Count(), 2u);
    EXPECT_EQ(tail->Top(1)->DeclaredSize(), 4000u);
    EXPECT_EQ(tail->Top(1)->PresentSize(), 6u);
    auto stub = ParseFile("stub.mp4", Box("free", "") + std::string(2, '\0'));
    ASSERT_EQ(stub->Count(), 2u);
    EXPECT_EQ(stub->Top(1)->DeclaredSize(), 8u);
    EXPECT_EQ(stub->Top(1)->PresentSize(), 2u);

    // Not an ISO base media file (as a plain FLV file of the corpus): a size field of 2 to
    // 7, fewer bytes than a header.
    for (const std::string& bytes : {U32(4) + "free" + std::string(40, '\0'), std::string("abc")}) {
        auto odd = ParseFile("odd.bin", bytes);
        EXPECT_EQ(odd->status, -1);
        EXPECT_EQ(odd->Count(), 0u);
        EXPECT_NE(odd->lib.Parser()->NotMediaHeader(), nullptr);
    }
}

TEST(ParseDriver, BoxOverTheInMemoryLimitIsSkippedToItsDeclaredEnd) {
    // A sparse file: a 300,000,000-byte unknown box, then a free box right after it.
    std::string path = WriteTempFile("huge.mp4", U32(300000000) + "huge");
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary).seekp(300000000) << Box("free", "");
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(path), 0);
    EXPECT_EQ(lib.Go(), 0);
    ASSERT_EQ(lib.Parser()->GetBoxCount(), 2u);
    EXPECT_EQ(lib.Parser()->GetBox(1)->m_startOffset, 300000000);
    std::filesystem::remove(path);
}

// Box identities, a second file and a missing one are checked by the page, desktop and
// command tests; here the raw reads' bounds.
TEST(ParseDriver, RawReadsStopAtTheFileEnds) {
    const std::string bytes = Box("free", "abcd");
    auto p = ParseFile("raw.mp4", bytes);
    uint8_t buf[8] = {};
    EXPECT_EQ(p->lib.ReadFileBytes(static_cast<int64_t>(bytes.size()) - 4, buf, 8), 4);  // only what exists
    EXPECT_EQ(p->lib.ReadFileBytes(-1, buf, 8), -1);
}

TEST(Containers, ChildLoopEdgeCases) {
    // A header-only udta, then a trak with unread payload: neither shifts what follows.
    auto w = ParseFile("s.mp4", Box("moov", Box("udta", "") + Box("trak", Box("edts", "") + "zzzz") + Box("trak", "")));
    EXPECT_EQ(w->status, 0);
    EXPECT_EQ(w->Top(0)->GetChild(2)->m_startOffset, 36);
    // A child that leaves payload bytes unread keeps their count; its sibling starts at its declared end.
    const std::string mdhd = FullBox("mdhd", 0, 0, std::string(20, '\0') + "abc");
    w = ParseFile("unread.mp4", Box("moov", Box("trak", Box("mdia", mdhd + Box("zzzz", "")))));
    const CBox& mdia = *w->Top(0)->GetChild(0)->GetChild(0);
    EXPECT_EQ(mdia.GetChild(0)->UnreadBytes(), 3u);
    EXPECT_EQ(mdia.GetChild(1)->m_type, FourCC("zzzz"));
    EXPECT_EQ(mdia.UnreadBytes(), 0u);

    // A child of size 0 takes the rest of its container.
    w = ParseFile("size0child.mp4", Box("moov", Box("trak", "") + U32(0) + "free" + Box("trak", "")) + Box("free", ""));
    EXPECT_EQ(w->status, 0);
    ASSERT_EQ(w->Top(0)->GetChildCount(), 2u);
    EXPECT_EQ(w->Top(0)->GetChild(1)->m_type, FourCC("free"));
    EXPECT_EQ(w->Count(), 2u);

    // A child claiming more than its container holds gets only what remains; the next
    // top-level box is still found. It claims more than the file holds: the run fails.
    w = ParseFile("overrun.mp4", Box("moov", U32(1000) + "wxyz" + "abcd") + Box("free", ""));
    EXPECT_EQ(w->status, -1);
    EXPECT_TRUE(w->Top(0)->GetChild(0)->IsTruncated());
    EXPECT_FALSE(w->Top(0)->IsTruncated());
    EXPECT_EQ(w->Top(1)->m_type, FourCC("free"));

    // moov/trak nesting is unbounded in the format: a deep chain must neither crash nor hang.
    std::string inner = Box("stbl", "");
    for (int i = 0; i < 2000; ++i) inner = Box(i % 2 ? "moov" : "trak", inner);
    EXPECT_GE(ParseFile("deep.mp4", inner)->Count(), 1u);

    // Unknown and uuid children never fail their container.
    const std::string traf = Box("traf", UuidBox(kTfrfUserType, U8(1) + U24(0) + U8(0)) + UuidBox(kOther, "zz") +
                                             FullBox("tfhd", 0, 0, U32(1)));
    const std::string tref = Box("tref", Box("hint", U32(1)) + Box("abcd", U32(3)));
    EXPECT_TRUE(ReadsInFull(Box("moof", traf) + Box("moov", Box("trak", tref))));
}

TEST(Containers, HandlerTypeMustComeBeforeMinf) {
    // minf before hdlr: the mdia fails, no minf child, the walk stops; what came before stays.
    const std::string minf = Box("minf", Box("stbl", Box("free", "")));
    auto bad = ParseFile("minf.mp4", Box("moov", Box("trak", Box("mdia", minf + Hdlr("vide")))) + Box("free", ""));
    EXPECT_EQ(bad->status, -1);
    EXPECT_EQ(bad->Count(), 1u);
    EXPECT_EQ(bad->Top(0)->GetChild(0)->GetChild(0)->GetChildCount(), 0u);
}
