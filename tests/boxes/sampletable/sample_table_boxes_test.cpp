// The sample table leaf boxes on hand-built bytes: field widths, packed fields, cuts and
// hostile counts. The corpus tables are checked against ffprobe's packets and Bento4.
#include <gtest/gtest.h>

#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/padding_bits_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "support/box_builder.h"

TEST(SampleTableBoxes, TimeTablesAndTheirBounds) {
    // The payload holds fewer entries than the count: fails, keeps what it read,
    // and an index between the two reads 0.
    auto stts = ParseLeaf<CTimeToSampleBox>(FullBox("stts", 0, 0, U32(3) + U32(10) + U32(512) + U32(4)));
    EXPECT_EQ(stts.status, -1);
    EXPECT_EQ(stts->RetrieveSampleDelta(0), 512u);
    EXPECT_EQ(stts->RetrieveSampleCount(1), 0u);

    auto cslg =
        ParseLeaf<CCompositionToDecodeBox>(FullBox("cslg", 0, 0, U32(1) + U32(0xFFFFFFFE) + U32(3) + U32(4) + U32(5)));
    EXPECT_EQ(cslg->m_leastDecodeToDisplayDelta, -2);  // signed
}

TEST(SampleTableBoxes, SizesAndOffsets) {
    // A constant size stores nothing, whatever the count.
    auto constant = ParseLeaf<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(100) + U32(5)));
    EXPECT_EQ(constant.status, 0);
    EXPECT_EQ(constant->GetStoredEntryCount(), 0u);

    // stz2 field sizes: 8, 4 (3 samples in 2 bytes, the last half unused), and 12 refused.
    auto stz2 = [](uint8_t bits, const std::string& table) {
        return ParseLeaf<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, U24(0) + U8(bits) + table));
    };
    EXPECT_EQ(stz2(8, U32(2) + U8(200) + U8(1))->GetEntrySize(0), 200u);
    auto s4 = stz2(4, U32(3) + U8(0xAB) + U8(0xCD));
    EXPECT_EQ(s4.status, 0);
    EXPECT_EQ(s4->GetEntrySize(0), 0xAu);
    EXPECT_EQ(s4->GetEntrySize(2), 0xCu);
    auto s4short = stz2(4, U32(3) + U8(0xAB));
    EXPECT_EQ(s4short.status, -1);
    EXPECT_EQ(s4short->GetStoredEntryCount(), 2u);
    auto s12 = stz2(12, U32(1) + U16(1));
    EXPECT_EQ(s12.status, -1);
    EXPECT_EQ(s12->GetStoredEntryCount(), 0u);

    // The same bytes: one 64-bit offset in co64, two 32-bit ones in stco.
    const std::string table = U32(2) + U64(0x0000000100000010ull) + U64(0x0000000200000020ull);
    EXPECT_EQ(ParseLeaf<CChunkOffsetBox>(FullBox("co64", 0, 0, table))->GetChunkOffset(1), 0x0000000200000020ull);
    EXPECT_EQ(ParseLeaf<CChunkOffsetBox>(FullBox("stco", 0, 0, table))->GetChunkOffset(1), 0x10u);
}

TEST(SampleTableBoxes, PackedFieldsAndOutsideCounts) {
    // Three samples take two bytes; pad1 in bits 6-4, pad2 in bits 2-0.
    auto padb = ParseLeaf<CPaddingBitsBox>(FullBox("padb", 0, 0, U32(3) + U8(0x53) + U8(0x70) + U8(0xFF)));
    EXPECT_EQ(padb.status, 0);
    EXPECT_EQ(padb->GetStoredByteCount(), 2u);
    EXPECT_EQ(padb->GetPad1(0), 5u);
    EXPECT_EQ(padb->GetPad2(0), 3u);

    // sdtp reads as many entries as the count set before the parse: 2 bits per field.
    CBox header;
    header.m_type = FourCC("sdtp");
    CSampleDependencyTypeBox sdtp(header);
    sdtp.SetSampleCount(2);
    const std::string payload = U32(0) + U8(0x1B) + U8(0xE4) + U8(0x55);
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(payload.data()), payload.size() * 8);
    EXPECT_EQ(sdtp.ParseBox(r), 0);
    ASSERT_EQ(sdtp.GetStoredEntryCount(), 2u);
    EXPECT_EQ(sdtp.GetSampleIsDependedOn(0), 2u);
    EXPECT_EQ(sdtp.GetSampleHasRedundancy(0), 3u);
    EXPECT_EQ(sdtp.GetReserved(1), 3u);
}

TEST(SampleTableBoxes, HostileCountsFailFastWithoutReserving) {
    // 4,000,000,000 entries claimed, 20 bytes present: each table keeps what is there and fails.
    const std::string few = U32(4000000000u) + std::string(20, '\x01');
    auto stts = ParseLeaf<CTimeToSampleBox>(FullBox("stts", 0, 0, few));
    EXPECT_EQ(stts.status, -1);
    EXPECT_EQ(stts->GetStoredEntryCount(), 2u);
    EXPECT_EQ(ParseLeaf<CSampleToChunkbox>(FullBox("stsc", 0, 0, few))->GetStoredEntryCount(), 1u);
    EXPECT_EQ(ParseLeaf<CChunkOffsetBox>(FullBox("co64", 0, 0, few))->GetStoredEntryCount(), 2u);
    EXPECT_EQ(ParseLeaf<CSyncSampleBox>(FullBox("stss", 0, 0, few))->GetStoredEntryCount(), 5u);
    auto stsz = ParseLeaf<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(0) + few));
    EXPECT_EQ(stsz.status, -1);
    EXPECT_EQ(stsz->GetStoredEntryCount(), 5u);
    EXPECT_EQ(ParseLeaf<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, U24(0) + U8(4) + few))->GetStoredEntryCount(), 40u);
    auto padb = ParseLeaf<CPaddingBitsBox>(FullBox("padb", 0, 0, U32(0xFFFFFFFF) + std::string(20, '\0')));
    EXPECT_EQ(padb.status, -1);
    EXPECT_EQ(padb->GetStoredByteCount(), 20u);
}

TEST(SampleTableBoxes, BigTablesUseTheHugePageStorage) {
    std::string sizes;
    for (uint32_t i = 0; i < 100000; ++i) sizes += U16(i & 0xFFFF);
    auto big = ParseLeaf<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, U24(0) + U8(16) + U32(100000) + sizes));
    EXPECT_EQ(big->GetEntrySize(99999), 99999u & 0xFFFF);
    auto copy = big->m_entrySizes;  // the storage copies and frees like any vector
    EXPECT_EQ(copy[12345], 12345u);
}
