#include "reader/bit_stream_reader.h"

#include <gtest/gtest.h>

TEST(BitStreamReader, ReadsAtOddPositionsAndFailsPastTheEnd) {
    const uint8_t bytes[] = {0xAB, 0xCD, 0xEF, 0x12, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    CBitStreamReader r(bytes, 32);
    uint32_t v = 7;
    ASSERT_EQ(r.ReadBits(4, v), 0);
    EXPECT_EQ(v, 0xAu);
    ASSERT_EQ(r.PeekBits(24, v), 0);
    EXPECT_EQ(r.BitPosition, 4u);
    ASSERT_EQ(r.ReadBits(24, v), 0);
    EXPECT_EQ(v, 0xBCDEF1u);
    // Past the end: fails and consumes nothing; a skip stops at the end.
    EXPECT_EQ(r.ReadBits(5, v), -1);
    EXPECT_EQ(r.BitPosition, 28u);
    r.SkipBits(100);
    EXPECT_EQ(r.RemainingBits, 0u);
    CBitStreamReader short31(bytes, 31);
    EXPECT_EQ(short31.ReadBits(32, v), -1);

    // 64-bit and 16-byte reads at a byte offset, and a peek that needs more than remains.
    CBitStreamReader full(bytes, 128);
    uint8_t out[16];
    full.SkipBits(8);
    EXPECT_EQ(full.Peek16Bytes(out), -1);
    uint64_t w = 0;
    ASSERT_EQ(full.Read64(w), 0);
    EXPECT_EQ(w, 0xCDEF120506070809ull);
}

TEST(BitStreamReader, BytesPastWhatIsPresentReadAsZero) {
    const uint8_t bytes[] = {0xFF, 0xEE};
    CBitStreamReader r(bytes, 64, 2);  // a box claiming 8 bytes with 2 present
    uint32_t v = 0;
    ASSERT_EQ(r.ReadBits(32, v), 0);
    EXPECT_EQ(v, 0xFFEE0000u);
    CBitStreamReader child = r.SubReader(100);
    EXPECT_EQ(child.RemainingBits, 32u);
    std::vector<uint8_t> out;
    CBitStreamReader r2(bytes, 64, 2);
    ASSERT_EQ(r2.ReadBytes(8, out), 0);
    EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0xEE, 0, 0, 0, 0, 0, 0}));
}
