// The fragment, random access and segment index boxes on hand-built bytes: the flag and
// version combinations the corpus lacks read in full (every row decoding to its value),
// then signs, cuts and hostile counts. The corpus fragments are checked by the spans
// property and against the samples ffprobe reads.
#include <gtest/gtest.h>

#include "boxes/containers/containers.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/segment_index_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "report/page_test_util.h"
#include "support/span_check.h"

namespace {
std::string InTraf(const std::string& boxes) { return Box("moof", Box("traf", boxes)); }
const std::string kTfhd = FullBox("tfhd", 0, 0x20000, U32(1));
const std::string kSdtp = FullBox("sdtp", 0, 0, "\x10\x20\x30");
const std::string kTrun3 = FullBox("trun", 0, 0x200, U32(3) + U32(1) + U32(2) + U32(3));
// Version 1 with every field and first sample flags.
const std::string kTrunV1 =
    FullBox("trun", 1, 0xF05, U32(1) + U32(0xFFFFFFF8) + U32(0x02000000) + U32(1) + U32(2) + U32(3) + U32(0xFFFFFFFF));
const std::string kSidxRef = U32(0x80000010) + U32(3000) + U32(0x9000000A);  // to a sidx, SAP type 1, delta 10
const uint8_t kUserType[16] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15};
}  // namespace

TEST(FragmentBoxes, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        {"trun version 1 with every field", InTraf(kTfhd + kTrunV1)},
        {"tfdt version 2: 64 bits", InTraf(kTfhd + FullBox("tfdt", 2, 0, U64(0x123456789ull)))},
        {"mehd version 2: 32 bits", Box("moov", Box("mvex", FullBox("mehd", 2, 0, U32(5000))))},
        {"mfhd with a uuid after its number", Box("moof", FullBox("mfhd", 0, 0, U32(42) + UuidBox(kUserType, U32(1))))},
        // sdtp after the first run, before it and with no run: 3, 3 and 0 entries.
        {"sdtp after the run", InTraf(kTfhd + kTrun3 + kSdtp)},
        {"sdtp before two runs", InTraf(kSdtp + kTrun3 + FullBox("trun", 0, 0x200, U32(1) + U32(4)))},
        {"tfra version 1, length sizes 3",
         Box("mfra", FullBox("tfra", 1, 0, U32(2) + U32(0x3F) + U32(1) + U64(7) + U64(5) + U32(7) + U32(8) + U32(9)))},
        {"tfra version 2: 32-bit time and offset",
         Box("mfra", FullBox("tfra", 2, 0, U32(1) + U32(0) + U32(1) + U32(7) + U32(8) + U8(1) + U8(1) + U8(1)))},
        {"sidx version 0 referring to a sidx", FullBox("sidx", 0, 0, U32(1) + U32(90000) + U32(7) + U32(64) + U16(0) +
                                                                         U16(1) + kSidxRef)},
        // Any version but 0 has 64-bit times; no references is fine.
        {"sidx version 2", FullBox("sidx", 2, 0, U32(1) + U32(1000) + U64(1ull << 32) + U64(5) + U32(0))},
        {"ssix with a subsegment without ranges", FullBox("ssix", 0, 0, U32(2) + U32(1) + U32(0x01000010) + U32(0))},
        {"prft version 0", FullBox("prft", 0, 0, U32(1) + U64(0) + U32(90000))},
    });
}

TEST(FragmentBoxes, SignsAndTimes) {
    // trun: the data offset is signed but shown unsigned; first_sample_flags is not folded
    // into the entry; a composition offset of version 1 is signed.
    auto trun = ParseLeaf<CTrackRunBox>(kTrunV1);
    EXPECT_EQ(trun->GetSample(0).flags, 3u);
    const PageModel page = PageOf(*trun.box);
    EXPECT_EQ(page.tables.at(1).rows.at(1).value.Plain(), "4294967288 (0XFFFFFFF8)");
    EXPECT_EQ(page.tables[2].listRows[0].cells[4].Plain(), "-1");
    // 2024-01-01 00:00:00 UTC is 3913056000 seconds after 1900; a quarter second.
    auto prft = ParseLeaf<CProducerReferenceTimeBox>(
        FullBox("prft", 0, 0, U32(1) + U64((3913056000ull << 32) | 0x40000000u) + U32(90000)));
    EXPECT_EQ(Value(PageOf(*prft.box), "NTP time stamp(UTC)"), "2024/01/01 00:00:00.250");
}

TEST(FragmentBoxes, CutsAndHostileCounts) {
    // tfhd 0x39 cut inside the default size: what was read stays.
    auto tfhd = Failing<CTrackFragmentHeaderBox>(FullBox("tfhd", 0, 0x39, U32(1) + U64(5) + U32(1024)));
    EXPECT_EQ(tfhd->m_defaultSampleDuration, 1024u);
    // A trun count beyond the payload: the samples read stay, one past them reads 0.
    auto trun = Failing<CTrackRunBox>(FullBox("trun", 0, 0x200, U32(5) + U32(11) + U32(12)));
    EXPECT_EQ(trun->GetSampleEntryCount(), 2u);
    EXPECT_EQ(trun->GetSample(2).size, 0u);
    // No per-sample field: the samples take no bytes, so a huge count keeps a bounded list.
    trun = ParseLeaf<CTrackRunBox>(FullBox("trun", 0, 0x1, U32(0xFFFFFFFF) + U32(8)));
    ASSERT_EQ(trun.status, 0);
    EXPECT_EQ(trun->GetSampleEntryCount(), CTrackRunBox::kMaxFieldlessSamples);
    // A failing run stops its traf and the moof, keeping both children.
    auto moof = Failing<CMovieFragmentBox>(InTraf(kTfhd + FullBox("trun", 0, 0x200, U32(4) + U32(9))));
    EXPECT_EQ(moof->GetChild(0)->GetChildCount(), 2u);
    // An sdtp in a traf without runs has no samples; the traf still parses.
    auto traf = ParseLeaf<CTrackFragmentBox>(Box("traf", kSdtp));
    ASSERT_EQ(traf.status, 0);
    EXPECT_EQ(dynamic_cast<CSampleDependencyTypeBox*>(traf->GetChild(0))->GetStoredEntryCount(), 0u);
    // Any box but a uuid after the mfhd's number fails it and is not kept.
    auto mfhd = Failing<CMovieFragmentHeaderBox>(FullBox("mfhd", 0, 0, U32(1) + Box("free", "abcd")));
    EXPECT_EQ(mfhd->GetChildCount(), 0u);
    // Short payloads.
    Failing<CTfdtBox>(FullBox("tfdt", 1, 0, U32(1)));
    Failing<CTrackExtendsBox>(FullBox("trex", 0, 0, U32(2)));
    Failing<CProducerReferenceTimeBox>(FullBox("prft", 1, 0, U32(1) + U64(0) + U32(0)));
    // Counts beyond the payload fail after the entries that fit.
    auto tfra = Failing<CTrackFragmentRandomAccessbox>(
        FullBox("tfra", 0, 0, U32(1) + U32(0) + U32(0xFFFFFFFF) + U32(1) + U32(2) + "abc"));
    EXPECT_EQ(tfra->m_entries.size(), 1u);
    auto sidx = Failing<CSegmentIndexBox>(
        FullBox("sidx", 0, 0, U32(1) + U32(1) + U32(0) + U32(0) + U16(0) + U16(0xFFFF) + kSidxRef));
    EXPECT_EQ(sidx->m_references.size(), 1u);
    auto ssix = Failing<CSubsegmentIndexBox>(FullBox("ssix", 0, 0, U32(2) + U32(1) + U32(5) + U32(~0u) + U32(6)));
    EXPECT_EQ(ssix->m_subsegments.size(), 1u);
}
