// The HDS and Smooth Streaming boxes on hand-built bytes: the entry widths and layouts the
// corpus lacks read in full (every row decoding to its value), then failures, hostile
// counts and nesting. Their ordinary fields are checked against the generator of the
// hand-made F4F, ffmpeg's bootstraps and ffprobe.
#include <gtest/gtest.h>

#include <typeinfo>

#include "boxes/containers/containers.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "boxes/streaming/run_table_boxes.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "boxes/streaming/user_types.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
std::string Text0(const std::string& s) { return s + std::string(1, '\0'); }
std::string Afrt(const std::string& entries, uint32_t count) {
    return FullBox("afrt", 0, 0, U32(1000) + U8(0) + U32(count) + entries);
}
std::string Asrt(uint32_t first, uint32_t perSegment) {
    return FullBox("asrt", 0, 0, U8(1) + Text0("high") + U32(1) + U32(first) + U32(perSegment));
}
std::string Abst(const std::string& tables) {
    return FullBox("abst", 0, 0, U32(3) + U8(0xB0) /* profile 2, live, update 1 */ + U32(1000) + U64(2000) + U64(5) +
                                     Text0("movie") + U8(2) + Text0("http://a/") + Text0("") + U8(1) + Text0("high") +
                                     Text0("drm") + Text0("") + tables);
}
std::string Tfxd(uint8_t version, uint64_t time, uint64_t duration, const std::string& trailing = "") {
    const std::string fields = version == 1 ? U64(time) + U64(duration)
                                            : U32(static_cast<uint32_t>(time)) + U32(static_cast<uint32_t>(duration));
    return UuidBox(kTfxdUserType, U8(version) + U24(0) + fields + trailing);
}
// An afrt entry of duration 0 carries the discontinuity indicator.
const std::string kAfrt =
    Afrt(U32(1) + U64(0) + U32(1000) + U32(2) + U64(1000) + U32(0) + U8(3) + U32(3) + U64(1000) + U32(500), 3);
const std::string kTfrf = UuidBox(kTfrfUserType, U8(0) + U24(0) + U8(2) + U32(10) + U32(20) + U32(30) + U32(40));
const uint8_t kOther[16] = {1, 2, 3};
const std::string kTraf = Box("traf", Tfxd(0, 0xFFFFFFFF, 7) + kTfrf + UuidBox(kOther, "xyz"));
}  // namespace

TEST(StreamingBoxes, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        // LongIDs 0, LongOffsets 0, GlobalEntries 1: 32-bit offsets and 16-bit ids.
        {"afra of short global entries", FullBox("afra", 0, 0, U8(0x20) + U32(1000) + U32(1) + U64(7) + U32(300) +
                                                                U32(1) + U64(9) + U16(2) + U16(3) + U32(40) + U32(50))},
        // No global entries: no count is read.
        {"afra of long offsets only", FullBox("afra", 0, 0, U8(0xC0) + U32(1000) + U32(1) + U64(7) + U64(1ull << 40))},
        // An empty server entry, two segment run tables, a discontinuity.
        {"abst of two segment run tables", Abst(U8(2) + Asrt(1, 2) + Asrt(3, 4) + U8(1) + kAfrt)},
        // Version 0 times are 32 bits; bytes after the fields are child boxes; an unknown
        // uuid in a traf is a plain box.
        {"traf of tfxd, tfrf and another uuid", Box("moof", kTraf)},
        {"tfxd version 1 holding a tfrf", Box("moof", Box("traf", Tfxd(1, 1ull << 40, 5, kTfrf)))},
    });

    // The classes under a traf; a tfxd anywhere else shows the header rows only.
    auto traf = ParseLeaf<CTrackFragmentBox>(kTraf);
    ASSERT_EQ(traf->GetChildCount(), 3u);
    const auto* tfxd = dynamic_cast<const CTfxdBox*>(traf->GetChild(0));
    EXPECT_NE(dynamic_cast<const CTfrfBox*>(traf->GetChild(1)), nullptr);
    EXPECT_EQ(typeid(*traf->GetChild(2)), typeid(CBox));
    ASSERT_NE(tfxd, nullptr);
    EXPECT_EQ(PageOf(*tfxd, tfxd).tables.size(), 1u);
    // A uuid of another user type at the top: a plain box.
    auto file = ParseFile("uuid.mp4", Box("ftyp", "isom" + U32(0)) + UuidBox(kOther, "zz"));
    EXPECT_EQ(typeid(*file->Top(1)), typeid(CBox));
}

TEST(StreamingBoxes, FailuresHostileCountsAndNesting) {
    // afra: only the entries the payload holds are kept; another type is refused.
    auto afra = Failing<CFragmentRandomAccessBox>(FullBox("afra", 0, 0, U8(0) + U32(1) + U32(~0u) + U64(1) + U32(2)));
    EXPECT_EQ(afra->m_localEntries.size(), 1u);
    EXPECT_LE(afra->m_localEntries.capacity(), 1u);
    Failing<CFragmentRandomAccessBox>(FullBox("afrx", 0, 0, U8(0) + U32(1) + U32(0)));

    // A run table that cannot be read ends the abst: it stays as a child, nothing after it
    // is read. A table of the wrong type fails; a table count beyond the payload fails
    // without a child.
    auto abst = Failing<CBootStrapInfoBox>(Abst(U8(2) + Box("asrt", U32(0)) + Asrt(1, 2) + U8(1) + kAfrt));
    EXPECT_EQ(abst->GetChildCount(), 1u);
    Failing<CBootStrapInfoBox>(Abst(U8(1) + kAfrt));
    EXPECT_EQ(Failing<CBootStrapInfoBox>(Abst(U8(200)))->GetChildCount(), 0u);
    // A text that the payload ends inside keeps its bytes.
    abst = Failing<CBootStrapInfoBox>(FullBox("abst", 0, 0, U32(1) + U8(0) + U32(1) + U64(0) + U64(0) + "mov"));
    EXPECT_EQ(abst->GetMovieIdentifier(), "mov");

    // Hostile counts of the run tables and the tfrf: bounded by the payload, the box fails.
    auto asrt = Failing<CSegmentRunTableBox>(FullBox("asrt", 0, 0, U8(0) + U32(0xFFFFFFFF) + U32(1) + U32(2)));
    EXPECT_EQ(asrt->m_entries.size(), 1u);
    auto afrt = Failing<CFragmentRunTableBox>(Afrt(U32(1) + U64(0) + U32(1) + U32(9), 0xFFFFFFFF));
    EXPECT_EQ(afrt->m_entries.size(), 1u);
    EXPECT_LE(afrt->m_entries.capacity(), 1u);
    auto tfrf = Failing<CTfrfBox>(UuidBox(kTfrfUserType, U8(1) + U24(0) + U8(255) + U64(1) + U64(2)));
    EXPECT_EQ(tfrf->m_fragments.size(), 1u);

    // tfxd in tfxd two thousand deep: the nesting is cut off, nothing overflows.
    std::string deep = Tfxd(0, 1, 1);
    for (int i = 0; i < 2000; ++i) deep = Tfxd(0, 1, 1, deep);
    Failing<CTfxdBox>(deep);
}
