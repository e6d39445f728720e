// The sample table boxes on hand-built bytes: the versions, field widths and layouts the
// corpus lacks read in full (every row decoding to its value), then signs, packed fields,
// cuts, hostile counts and what the stbl or traf hands its children. The corpus tables
// are checked against ffprobe's packets and Bento4.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/padding_bits_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "support/span_check.h"

namespace {
const std::string kStsz3 = FullBox("stsz", 0, 0, U32(10) + U32(3));
const std::string kSdtp3 = FullBox("sdtp", 0, 0, U8(0x10) + U8(0x20) + U8(0x30));
const std::string kSdep3 = FullBox("sdep", 0, 0, U16(0) + U16(1) + U16(1) + U16(1) + U16(2));
const std::string kStdp3 = FullBox("stdp", 0, 0, U16(1) + U16(2) + U16(3));
const std::string kRoll = FullBox("sgpd", 0, 0, "roll" + U32(1) + U16(0xFFFF));

// The stbl of a track of `handler` holding `children`, as its mdia hands it over.
Parsed<CSampleTableBox> Stbl(const std::string& children, uint32_t handler = FourCC("vide")) {
    return ParseLeaf<CSampleTableBox>(Box("stbl", children), handler);
}
template <class T>
const T* Child(const CBox* parent, const char (&type)[5]) {
    return dynamic_cast<const T*>(parent->RetrieveChildBox(FourCC(type), true));
}
}  // namespace

TEST(SampleTableBoxes, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        // The deferred boxes before their size box (or a compact one) take its count.
        {"sdtp, sdep, stdp before stsz", InStbl(kSdtp3 + kSdep3 + kStdp3 + kStsz3)},
        {"sdtp and sdep counted by stz2",
         InStbl(kSdtp3 + FullBox("stz2", 0, 0, U32(8) + U32(3) + U8(1) + U8(2) + U8(3)) + kSdep3)},
        // Version 1 with default length 0: a description length per entry.
        {"sgpd avll", InStbl(FullBox("sgpd", 1, 0, "avll" + U32(0) + U32(2) + U32(6) + U8(1) + U8(1) + U16(500) +
                                                        U16(25) + U32(6) + U8(2) + U8(0) + U16(900) + U16(50)))},
        // Version 1 gives every entry's length: entries this program does not decode are passed over.
        {"sgpd of an unknown grouping type", InStbl(FullBox("sgpd", 1, 0, "zzzz" + U32(4) + U32(2) + U32(7) + U32(8)))},
        {"saio version 1", InStbl(FullBox("saio", 1, 0, U32(1) + U64(0x100000010ull)))},
    });
}

TEST(SampleTableBoxes, PackedFieldsAndClasses) {
    // sdtp: 2 bits a field; sdep numbers out of range answer -1.
    auto stbl = Stbl(kStsz3 + FullBox("sdtp", 0, 0, U8(0x1B) + U8(0xE4) + U8(0x55)) + kSdep3);
    const auto* sdtp = Child<CSampleDependencyTypeBox>(stbl.box.get(), "sdtp");
    EXPECT_EQ(sdtp->GetSampleIsDependedOn(0), 2u);
    EXPECT_EQ(sdtp->GetSampleHasRedundancy(0), 3u);
    EXPECT_EQ(sdtp->GetReserved(1), 3u);
    const auto* sdep = Child<CSampleDependencyBox>(stbl.box.get(), "sdep");
    EXPECT_EQ(sdep->GetDependencySampleNumber(2, 0), 2);
    EXPECT_EQ(sdep->GetDependencySampleNumber(2, 1), -1);
    EXPECT_EQ(sdep->GetDependencySampleNumber(3, 0), -1);

    // A roll distance reads alike whatever the track's handler type, in a traf too.
    auto roll = [](const CBox* parent) {
        const auto* entry = Child<CSampleGroupDescBox>(parent, "sgpd")->GetGroupEntry(0);
        return dynamic_cast<const CRollRecoveryEntry*>(entry);
    };
    const auto video = Stbl(kRoll), audio = Stbl(kRoll, FourCC("soun"));
    const auto traf = ParseLeaf<CTrackFragmentBox>(Box("traf", kRoll));
    for (const CBox* parent : std::initializer_list<const CBox*>{video.box.get(), audio.box.get(), traf.box.get()}) {
        ASSERT_NE(roll(parent), nullptr);
        EXPECT_EQ(roll(parent)->RollDistance(), -1);
    }
}

TEST(SampleTableBoxes, CutsAndMissingCounts) {
    // Fewer entries than the count: keeps what it read; an index between reads 0.
    auto stts = Failing<CTimeToSampleBox>(FullBox("stts", 0, 0, U32(3) + U32(10) + U32(512) + U32(4)));
    EXPECT_EQ(stts->RetrieveSampleDelta(0), 512u);
    EXPECT_EQ(stts->RetrieveSampleCount(1), 0u);
    // A constant size stores nothing, whatever the count.
    EXPECT_EQ(ParseLeaf<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(100) + U32(5)))->GetStoredEntryCount(), 0u);
    // stz2 cut inside its 4-bit sizes; a field size of 12 is refused.
    auto stz2 = [](const std::string& fields) { return Failing<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, fields)); };
    EXPECT_EQ(stz2(U32(4) + U32(3) + U8(0xAB))->GetStoredEntryCount(), 2u);
    EXPECT_EQ(stz2(U32(12) + U32(1) + U16(1))->GetStoredEntryCount(), 0u);
    // A group entry cut short fails its sgpd, and with it the stbl.
    EXPECT_EQ(Stbl(FullBox("sgpd", 0, 0, "avll" + U32(1) + U8(1))).status, -1);

    // Only stz2: stdp gets no count and reads nothing. No size box: count 0, success. A
    // deferred box that fails fails the stbl.
    auto stbl = Stbl(kStdp3 + FullBox("stz2", 0, 0, U32(8) + U32(3) + U8(1) + U8(2) + U8(3)));
    ASSERT_EQ(stbl.status, 0);
    EXPECT_EQ(Child<CDegradationPriorityBox>(stbl.box.get(), "stdp")->GetStoredEntryCount(), 0u);
    EXPECT_EQ(Stbl(kSdtp3).status, 0);
    EXPECT_EQ(Stbl(FullBox("sdtp", 0, 0, U8(1)) + kStsz3).status, -1);
}

TEST(SampleTableBoxes, HostileCountsFailFastWithoutReserving) {
    // 4,000,000,000 entries claimed, 20 bytes present: each table keeps what is there and fails.
    const std::string few = U32(4000000000u) + std::string(20, '\x01');
    EXPECT_EQ(Failing<CTimeToSampleBox>(FullBox("stts", 0, 0, few))->GetStoredEntryCount(), 2u);
    EXPECT_EQ(Failing<CSampleToChunkbox>(FullBox("stsc", 0, 0, few))->GetStoredEntryCount(), 1u);
    EXPECT_EQ(Failing<CChunkOffsetBox>(FullBox("co64", 0, 0, few))->GetStoredEntryCount(), 2u);
    EXPECT_EQ(Failing<CSyncSampleBox>(FullBox("stss", 0, 0, few))->GetStoredEntryCount(), 5u);
    EXPECT_EQ(Failing<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(0) + few))->GetStoredEntryCount(), 5u);
    EXPECT_EQ(Failing<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, U32(4) + few))->GetStoredEntryCount(), 40u);
    auto padb = Failing<CPaddingBitsBox>(FullBox("padb", 0, 0, U32(0xFFFFFFFF) + std::string(20, '\0')));
    EXPECT_EQ(padb->GetStoredByteCount(), 20u);
    // Group entries that read nothing: the count is bounded by the payload's bytes.
    auto sgpd = Failing<CSampleGroupDescBox>(FullBox("sgpd", 0, 0, "zzzz" + U32(4000000000u) + U16(1)), 0u);
    EXPECT_EQ(sgpd->GetStoredEntryCount(), 2u);
}

TEST(SampleTableBoxes, BigTablesUseTheHugePageStorage) {
    std::string sizes;
    for (uint32_t i = 0; i < 100000; ++i) sizes += U16(i & 0xFFFF);
    auto big = ParseLeaf<CCompactSampleSizeBox>(FullBox("stz2", 0, 0, U32(16) + U32(100000) + sizes));
    EXPECT_EQ(big->GetEntrySize(99999), 99999u & 0xFFFF);
    auto copy = big->m_entrySizes;  // the storage copies and frees like any vector
    EXPECT_EQ(copy[12345], 12345u);
}
