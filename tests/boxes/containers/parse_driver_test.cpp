// The top-level walk over real files on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/parse_file.h"

TEST(ParseDriver, WalksTopLevelBoxes) {
    // The corpus walks ordinary files (and empty.mp4); these are the ends it lacks.
    // A last box claiming more than the file holds: parsed from what is there only,
    // marked with its children, and the run fails.
    std::string moov = Box("moov", Box("trak", Box("tkhd", std::string(84, '\0'))));
    auto truncated = ParseFile("truncated.mp4", Box("free", "") + moov.substr(0, moov.size() - 40));
    EXPECT_EQ(truncated->status, -1);
    ASSERT_EQ(truncated->Count(), 2u);
    const CBox& cut = *truncated->Top(1);
    EXPECT_EQ(cut.BoxSize(), moov.size());
    EXPECT_EQ(cut.m_presentSize, moov.size() - 40);
    ASSERT_EQ(cut.GetChildCount(), 1u);
    EXPECT_TRUE(cut.GetChild(0)->GetChild(0)->IsTruncated());  // the tkhd
    EXPECT_FALSE(truncated->Top(0)->IsTruncated());

    // A last top-level box of size 0 runs to the end of the file.
    auto size0 = ParseFile("size0.mp4", Box("free", "") + U32(0) + "mdat" + std::string(100, 'x'));
    EXPECT_EQ(size0->status, 0);
    EXPECT_EQ(size0->Count(), 2u);

    // The file ends inside a header: a box of what the header says, truncated, fails the
    // walk; boxes before it stay. Of a size field, the size; without one, a header's 8 bytes.
    auto tail = ParseFile("tail.mp4", Box("free", "") + U32(4000) + "fr");
    EXPECT_EQ(tail->status, -1);
    ASSERT_EQ(tail->Count(), 2u);
    EXPECT_EQ(tail->Top(1)->m_type, 0u);
    EXPECT_EQ(tail->Top(1)->m_declaredSize, 4000u);
    EXPECT_EQ(tail->Top(1)->m_presentSize, 6u);
    auto stub = ParseFile("stub.mp4", Box("free", "") + std::string(2, '\0'));
    ASSERT_EQ(stub->Count(), 2u);
    EXPECT_EQ(stub->Top(1)->m_declaredSize, 8u);
    EXPECT_EQ(stub->Top(1)->m_presentSize, 2u);

    // Not an ISO base media file: a first type that is not four printable characters
    // (a plain FLV file), a size field of 2 to 7, fewer bytes than a header.
    for (const std::string& bytes : {std::string("FLV\x01\x05\0\0\0\x09", 9) + std::string(40, '\0'),
                                     U32(4) + "free" + std::string(40, '\0'), std::string("abc")}) {
        auto odd = ParseFile("odd.bin", bytes);
        EXPECT_EQ(odd->status, -1);
        EXPECT_EQ(odd->Count(), 0u);
        EXPECT_NE(odd->lib.Parser()->NotMediaHeader(), nullptr);
    }
}

TEST(ParseDriver, BoxOverTheInMemoryLimitIsSkippedToItsDeclaredEnd) {
    // A sparse file: a 300,000,000-byte unknown box, then a free box right after it.
    std::string path = WriteTempFile("huge.mp4", U32(300000000) + "huge");
    {
        std::fstream f(path, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(300000000);
        f << Box("free", "");
    }
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(path), 0);
    EXPECT_EQ(lib.Go(), 0);
    ASSERT_EQ(lib.Parser()->GetBoxCount(), 2u);
    EXPECT_EQ(lib.Parser()->GetBox(1)->m_startOffset, 300000000);
    EXPECT_EQ(lib.Parser()->GetBox(1)->m_type, FourCC("free"));
    std::filesystem::remove(path);
}

TEST(ParseDriver, BoxIdentityAndRawReads) {
    std::string bytes = Box("moov", Box("trak", Box("tkhd", "")) + Box("trak", "")) + Box("free", "abcd");
    auto p = ParseFile("ids.mp4", bytes);
    CCorvel& parser = *p->lib.Parser();
    // Tree order, from 1: moov, trak, tkhd, trak, free.
    EXPECT_EQ(parser.FindBox(3), p->Top(0)->GetChild(0)->GetChild(0));
    EXPECT_EQ(parser.FindBox(5), p->Top(1));
    EXPECT_EQ(parser.FindBox(0), nullptr);
    EXPECT_EQ(parser.FindBox(6), nullptr);

    uint8_t buf[8] = {};
    EXPECT_EQ(p->lib.ReadFileBytes(static_cast<int64_t>(bytes.size()) - 4, buf, 8), 4);  // only what exists
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buf), 4), "abcd");
    EXPECT_EQ(p->lib.ReadFileBytes(-1, buf, 8), -1);

    // A second file starts afresh.
    p->lib.Uninit();
    ASSERT_EQ(p->lib.Init(WriteTempFile("second.mp4", Box("free", ""))), 0);
    EXPECT_EQ(p->lib.Go(), 0);
    EXPECT_EQ(p->Count(), 1u);

    CCorvelLib missing;
    EXPECT_EQ(missing.Init(TempDir() + "/does-not-exist.mp4"), -1);
    EXPECT_EQ(missing.Go(), -1);
}
