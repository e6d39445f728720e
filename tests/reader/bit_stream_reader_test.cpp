#include "reader/bit_stream_reader.h"

#include <gtest/gtest.h>

TEST(BitStreamReader, ReadsPeeksAndSkipsAtOddPositions) {
    const uint8_t bytes[] = {0xAB, 0xCD, 0xEF, 0x12};
    CBitStreamReader r(bytes, 32);
    uint32_t v = 7;
    ASSERT_EQ(r.ReadBits(0, v), 0);
    EXPECT_EQ(v, 0u);
    EXPECT_EQ(r.BitPosition, 0u);

    ASSERT_EQ(r.ReadBits(4, v), 0);
    EXPECT_EQ(v, 0xAu);
    ASSERT_EQ(r.PeekBits(24, v), 0);
    EXPECT_EQ(v, 0xBCDEF1u);
    EXPECT_EQ(r.BitPosition, 4u);
    ASSERT_EQ(r.ReadBits(24, v), 0);
    EXPECT_EQ(v, 0xBCDEF1u);
    EXPECT_EQ(r.BitPosition, 28u);
    EXPECT_EQ(r.RemainingBits, 4u);

    // Past the end: fails and consumes nothing.
    EXPECT_EQ(r.ReadBits(5, v), -1);
    EXPECT_EQ(r.BitPosition, 28u);
    r.SkipBits(100);
    EXPECT_EQ(r.BitPosition, 32u);
    EXPECT_EQ(r.RemainingBits, 0u);
}

TEST(BitStreamReader, WideReadsAndPeeksNeedEnoughBits) {
    const uint8_t bytes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    CBitStreamReader r(bytes, 31);
    uint32_t v = 0;
    EXPECT_EQ(r.ReadBits(32, v), -1);
    EXPECT_EQ(r.BitPosition, 0u);

    CBitStreamReader full(bytes, 128);
    uint64_t w = 0;
    ASSERT_EQ(full.Peek64(w), 0);
    EXPECT_EQ(w, 0x0102030405060708ull);
    uint8_t out[16];
    ASSERT_EQ(full.Peek16Bytes(out), 0);
    EXPECT_EQ(out[15], 16);
    full.SkipBits(8);
    EXPECT_EQ(full.Peek16Bytes(out), -1);
    ASSERT_EQ(full.Peek64(w), 0);
    EXPECT_EQ(w, 0x0203040506070809ull);
    ASSERT_EQ(full.Read64(w), 0);
    EXPECT_EQ(w, 0x0203040506070809ull);
}

TEST(BitStreamReader, BytesPastWhatIsPresentReadAsZero) {
    const uint8_t bytes[] = {0xFF, 0xEE};
    CBitStreamReader r(bytes, 64, 2);  // a box claiming 8 bytes with 2 present
    uint32_t v = 0;
    ASSERT_EQ(r.ReadBits(32, v), 0);
    EXPECT_EQ(v, 0xFFEE0000u);
    CBitStreamReader child = r.SubReader(100);
    EXPECT_EQ(child.RemainingBits, 32u);
    ASSERT_EQ(child.ReadBits(32, v), 0);
    EXPECT_EQ(v, 0u);
    std::vector<uint8_t> out;
    CBitStreamReader r2(bytes, 64, 2);
    ASSERT_EQ(r2.ReadBytes(8, out), 0);
    EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0xEE, 0, 0, 0, 0, 0, 0}));
}
