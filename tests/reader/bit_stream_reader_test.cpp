#include "reader/bit_stream_reader.h"

#include <gtest/gtest.h>

TEST(BitStreamReader, ReadsAtOddPositionsAndFailsPastTheEnd) {
    const uint8_t bytes[] = {0xAB, 0xCD, 0xEF, 0x12, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    CBitStreamReader r(bytes, 32);
    uint32_t v = 7;
    ASSERT_EQ(r.ReadBits(4, v), 0);
    ASSERT_EQ(r.PeekBits(24, v), 0);
    EXPECT_EQ(r.BitPosition, 4u);
    ASSERT_EQ(r.ReadBits(24, v), 0);
    EXPECT_EQ(v, 0xBCDEF1u);
    // Past the end: fails and consumes nothing; a skip stops at the end.
    EXPECT_EQ(r.ReadBits(5, v), -1);
    EXPECT_EQ(r.BitPosition, 28u);
    r.SkipBits(100);
    EXPECT_EQ(r.RemainingBits, 0u);
    // A 16-byte peek that needs more than remains.
    CBitStreamReader full(bytes, 128);
    uint8_t out[16];
    full.SkipBits(8);
    EXPECT_EQ(full.Peek16Bytes(out), -1);
}

// A box that claims 8 bytes of which the file holds 2: reads stop at the bytes held,
// skips pass over the rest.
TEST(BitStreamReader, ReadsStopAtTheBytesHeld) {
    const uint8_t bytes[] = {0xFF, 0xEE};
    CBitStreamReader r(bytes, 64, 2);
    uint32_t v = 0;
    EXPECT_EQ(r.ReadBits(32, v), -1);
    EXPECT_EQ(r.BitPosition, 0u);
    ASSERT_EQ(r.ReadBits(12, v), 0);
    std::vector<uint8_t> out;
    EXPECT_EQ(r.ReadBytes(2, out), -1);
    EXPECT_TRUE(out.empty());
    CBitStreamReader child = r.SubReader(100);  // the whole bytes left from the current one: 1 held of 6
    EXPECT_EQ(child.RemainingBits, 48u);
    EXPECT_EQ(child.PresentBytes(), 1u);
    r.SkipBits(40);
    EXPECT_EQ(r.RemainingBits, 12u);
    EXPECT_EQ(r.PresentBytes(), 0u);
}
