// The HDS and Smooth Streaming boxes on hand-built bytes: entry widths, failures,
// hostile counts and nesting the corpus files do not hold. Their ordinary fields are
// checked against the generator of the hand-made F4F, ffmpeg's bootstraps and ffprobe.
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

namespace {
std::string Text0(const std::string& s) { return s + std::string(1, '\0'); }

std::string Afrt(const std::string& entries, uint32_t count) {
    return FullBox("afrt", 0, 0, U32(1000) + U8(0) + U32(count) + entries);
}
std::string Asrt(uint32_t first, uint32_t perSegment) {
    return FullBox("asrt", 0, 0, U8(1) + Text0("high") + U32(1) + U32(first) + U32(perSegment));
}
std::string AbstPayload(const std::string& tables) {
    return U32(3) + U8(0xB0) /* profile 2, live, update 1 */ + U32(1000) + U64(2000) + U64(5) + Text0("movie") + U8(2) +
           Text0("http://a/") + Text0("") + U8(1) + Text0("high") + Text0("drm") + Text0("") + tables;
}
std::string Tfxd(uint8_t version, uint64_t time, uint64_t duration, const std::string& trailing = "") {
    const std::string fields = version == 1 ? U64(time) + U64(duration)
                                            : U32(static_cast<uint32_t>(time)) + U32(static_cast<uint32_t>(duration));
    return UuidBox(kTfxdUserType, U8(version) + U24(0) + fields + trailing);
}
}  // namespace

TEST(StreamingBoxes, AfraEntryWidthsFollowTheirFlags) {
    // LongIDs 0, LongOffsets 0, GlobalEntries 1: 32-bit offsets and 16-bit ids.
    auto afra = ParseLeaf<CFragmentRandomAccessBox>(FullBox(
        "afra", 0, 0,
        U8(0x20) + U32(1000) + U32(1) + U64(7) + U32(300) + U32(1) + U64(9) + U16(2) + U16(3) + U32(40) + U32(50)));
    ASSERT_EQ(afra.status, 0);
    EXPECT_EQ(afra->GetLocalEntry(0)->offset, 300u);
    const auto* global = afra->GetGlobalEntry(0);
    ASSERT_NE(global, nullptr);
    EXPECT_EQ(global->segment, 2u);
    EXPECT_EQ(global->fragment, 3u);
    EXPECT_EQ(global->offsetFromAfra, 50u);
    EXPECT_EQ(afra->GetGlobalEntry(1), nullptr);

    // No global entries: no count is read; the page shows 0 and an empty list.
    afra = ParseLeaf<CFragmentRandomAccessBox>(
        FullBox("afra", 0, 0, U8(0xC0) + U32(1000) + U32(1) + U64(7) + U64(1ull << 40)));
    ASSERT_EQ(afra.status, 0);
    const PageModel page = PageOf(*afra.box);
    EXPECT_EQ(Value(page, "Global entry count"), "0 (0X00000000)");
    EXPECT_TRUE(page.tables.at(3).listRows.empty());

    // A hostile count: only the entries the payload holds are kept, and the box fails.
    afra =
        ParseLeaf<CFragmentRandomAccessBox>(FullBox("afra", 0, 0, U8(0) + U32(1) + U32(0xFFFFFFFF) + U64(1) + U32(2)));
    EXPECT_EQ(afra.status, -1);
    EXPECT_EQ(afra->m_localEntries.size(), 1u);
    EXPECT_LE(afra->m_localEntries.capacity(), 1u);
    // Another type is refused.
    EXPECT_EQ(ParseLeaf<CFragmentRandomAccessBox>(FullBox("afrx", 0, 0, U8(0) + U32(1) + U32(0))).status, -1);
}

TEST(StreamingBoxes, BootstrapTextsAndRunTables) {
    const std::string afrt =
        Afrt(U32(1) + U64(0) + U32(1000) + U32(2) + U64(1000) + U32(0) + U8(3) + U32(3) + U64(1000) + U32(500), 3);
    auto abst = ParseLeaf<CBootStrapInfoBox>(
        FullBox("abst", 0, 0, AbstPayload(U8(2) + Asrt(1, 2) + Asrt(3, 4) + U8(1) + afrt)));
    ASSERT_EQ(abst.status, 0);
    // An empty server entry is kept.
    ASSERT_NE(abst->GetServerEntry(1), nullptr);
    EXPECT_EQ(abst->GetServerEntry(1)->data, "");
    EXPECT_EQ(abst->GetServerEntry(2), nullptr);
    // Two segment run tables, each at its own offset.
    ASSERT_EQ(abst->GetChildCount(), 3u);
    EXPECT_EQ(abst->GetChild(1)->m_startOffset, abst->GetChild(0)->m_startOffset + 30);
    // An afrt entry of duration 0 carries the discontinuity indicator; the next starts after it.
    const auto* fragments = dynamic_cast<const CFragmentRunTableBox*>(abst->GetChild(2));
    ASSERT_NE(fragments, nullptr);
    ASSERT_EQ(fragments->m_entries.size(), 3u);
    EXPECT_EQ(fragments->m_entries[1].discontinuityIndicator, 3u);
    EXPECT_EQ(fragments->m_entries[2].fragmentDuration, 500u);

    // A run table that cannot be read ends the abst: it stays as a child, nothing after it is read.
    abst = ParseLeaf<CBootStrapInfoBox>(
        FullBox("abst", 0, 0, AbstPayload(U8(2) + Box("asrt", U32(0)) + Asrt(1, 2) + U8(1) + afrt)));
    EXPECT_EQ(abst.status, -1);
    EXPECT_EQ(abst->GetChildCount(), 1u);
    // A table of the wrong type fails; a table count beyond the payload fails without a child.
    abst = ParseLeaf<CBootStrapInfoBox>(FullBox("abst", 0, 0, AbstPayload(U8(1) + afrt)));
    EXPECT_EQ(abst.status, -1);
    abst = ParseLeaf<CBootStrapInfoBox>(FullBox("abst", 0, 0, AbstPayload(U8(200))));
    EXPECT_EQ(abst.status, -1);
    EXPECT_EQ(abst->GetChildCount(), 0u);
    // A text that the payload ends inside keeps its bytes.
    abst = ParseLeaf<CBootStrapInfoBox>(FullBox("abst", 0, 0, U32(1) + U8(0) + U32(1) + U64(0) + U64(0) + "mov"));
    EXPECT_EQ(abst.status, -1);
    EXPECT_EQ(abst->GetMovieIdentifier(), "mov");

    // Hostile counts of the run tables: bounded by the payload, the table fails.
    auto asrt = ParseLeaf<CSegmentRunTableBox>(FullBox("asrt", 0, 0, U8(0) + U32(0xFFFFFFFF) + U32(1) + U32(2)));
    EXPECT_EQ(asrt.status, -1);
    EXPECT_EQ(asrt->m_entries.size(), 1u);
    auto big = ParseLeaf<CFragmentRunTableBox>(Afrt(U32(1) + U64(0) + U32(1) + U32(9), 0xFFFFFFFF));
    EXPECT_EQ(big.status, -1);
    EXPECT_EQ(big->m_entries.size(), 1u);
    EXPECT_LE(big->m_entries.capacity(), 1u);
}

TEST(StreamingBoxes, SmoothStreamingBoxesInATrackFragment) {
    const uint8_t other[16] = {1, 2, 3};
    const std::string tfrf = UuidBox(kTfrfUserType, U8(0) + U24(0) + U8(2) + U32(10) + U32(20) + U32(30) + U32(40));
    auto traf = ParseLeaf<CTrackFragmentBox>(Box("traf", Tfxd(0, 0xFFFFFFFF, 7) + tfrf + UuidBox(other, "xyz")));
    ASSERT_EQ(traf.status, 0);
    ASSERT_EQ(traf->GetChildCount(), 3u);
    const auto* tfxd = dynamic_cast<const CTfxdBox*>(traf->GetChild(0));
    ASSERT_NE(tfxd, nullptr);
    EXPECT_EQ(tfxd->m_fragmentAbsoluteTime, 0xFFFFFFFFull);  // version 0: 32 bits, widened
    EXPECT_NE(dynamic_cast<const CTfrfBox*>(traf->GetChild(1)), nullptr);
    EXPECT_EQ(typeid(*traf->GetChild(2)), typeid(CBox));

    // Titled by user type under a traf; anywhere else the header rows only.
    EXPECT_EQ(PageOf(*traf->GetChild(2), traf.box.get()).title, "Universal Unique Identifier");
    const PageModel nested = PageOf(*tfxd, tfxd);
    EXPECT_EQ(nested.title, "Universal Unique Identifier");
    EXPECT_EQ(nested.tables.size(), 1u);

    // Bytes after the fields are child boxes: a tfrf inside a version 1 tfxd.
    auto outer = ParseLeaf<CTfxdBox>(Tfxd(1, 1ull << 40, 5, tfrf));
    ASSERT_EQ(outer.status, 0);
    EXPECT_EQ(outer->m_fragmentAbsoluteTime, 1ull << 40);
    ASSERT_EQ(outer->GetChildCount(), 1u);
    EXPECT_NE(dynamic_cast<const CTfrfBox*>(outer->GetChild(0)), nullptr);

    // tfxd in tfxd two thousand deep: the nesting is cut off, nothing overflows.
    std::string deep = Tfxd(0, 1, 1);
    for (int i = 0; i < 2000; ++i) deep = Tfxd(0, 1, 1, deep);
    EXPECT_EQ(ParseLeaf<CTfxdBox>(deep).status, -1);
    // A tfrf count beyond its payload.
    auto cut = ParseLeaf<CTfrfBox>(UuidBox(kTfrfUserType, U8(1) + U24(0) + U8(255) + U64(1) + U64(2)));
    EXPECT_EQ(cut.status, -1);
    EXPECT_EQ(cut->m_fragments.size(), 1u);
}

TEST(StreamingBoxes, TopLevelUuidOfAnotherUserType) {
    // A plain box, still titled as the XMP box, with the header rows only.
    const uint8_t other[16] = {9};
    auto file = ParseFile("uuid.mp4", Box("ftyp", "isom" + U32(0)) + UuidBox(other, "zz") + Box("mdat", "abc"));
    ASSERT_EQ(file->status, 0);
    EXPECT_EQ(typeid(*file->Top(1)), typeid(CBox));
    EXPECT_EQ(PageOf(*file->Top(1)).title, "XMP Metadata box");
    EXPECT_EQ(PageOf(*file->Top(1)).tables.size(), 1u);
}
