// The presentation, media header, edit list and reference boxes on hand-built bytes: the
// versions and trailing bytes the corpus lacks read in full (every row decoding to its
// value), then signs, widths, cuts and counts. The corpus headers are checked by the
// spans property and against the durations, edit lists and track tables of the
// reference tools.
#include <gtest/gtest.h>

#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/page_test_util.h"
#include "support/span_check.h"

namespace {
std::string MvhdPayload(bool wide, uint64_t creation, uint32_t timescale, uint64_t duration) {
    auto t = [wide](uint64_t v) { return wide ? U64(v) : U32(static_cast<uint32_t>(v)); };
    return t(creation) + t(creation + 1) + U32(timescale) + t(duration) + U32(0x00010000) + U16(0x0100) + U16(0) +
           U32(0) + U32(0) + std::string(36 + 24, '\0') + U32(3);
}
std::string InMdia(const std::string& boxes) { return Box("moov", Box("trak", Box("mdia", boxes))); }
std::string InMinf(const std::string& boxes) { return InMdia(Hdlr("soun") + Box("minf", boxes)); }
const std::string kEdit = U32(10) + U32(20) + U16(1) + U16(0);
const std::string kElstV1 = FullBox("elst", 1, 0, U32(2) + U64(1000) + U64(~0ull) + U16(1) + U16(0) +
                                                      U64(0x100000000ull) + U64(0x200000000ull) + U16(0xFFFF) + U16(0));
}  // namespace

TEST(PresentationBoxes, LayoutsTheCorpusLacksReadInFull) {
    ExpectReadInFull({
        {"mvhd version 1", Box("moov", FullBox("mvhd", 1, 0, MvhdPayload(true, 1ull << 32, 90000, 1ull << 33)))},
        {"mvhd version 2: 32-bit times", Box("moov", FullBox("mvhd", 2, 0, MvhdPayload(false, 7, 600, 1200)))},
        {"hdlr whose name runs on past its zero", InMdia(FullBox("hdlr", 0, 0, U32(0) + "soun" + std::string(12, '\0') +
                                                                                     std::string("Sound\0x", 7)))},
        // A non-zero reserved word only logs.
        {"smhd of a non-zero reserved word", InMinf(FullBox("smhd", 0, 0, U16(0x0100) + U16(9)))},
        {"elst version 1 with an empty edit", Box("moov", Box("trak", Box("edts", kElstV1)))},
        {"dref with an unknown entry", InMinf(Box("dinf", FullBox("dref", 0, 0, U32(2) + FullBox("url ", 0, 1, "") +
                                                                                  Box("zzzz", "ab"))))},
        {"urn whose location has no zero byte",
         InMinf(Box("dinf", FullBox("dref", 0, 0, U32(1) + FullBox("urn ", 0, 0, std::string("n\0loc", 5)))))},
        {"an empty hint reference", Box("moov", Box("trak", Box("tref", Box("hint", ""))))},
    });

    // The signs that are the point: -1 for an empty edit, a signed rate.
    auto elst = ParseLeaf<CEditListBox>(kElstV1);
    EXPECT_EQ(elst->GetMediaTime(0), -1);
    EXPECT_EQ(elst->GetMediaTime(1), 0x200000000ll);
    EXPECT_EQ(Cells(PageOf(*elst.box), 2, 1), (std::vector<std::string>{"4294967296", "8589934592", "-1", "0"}));
}

TEST(PresentationBoxes, CutsAndCounts) {
    Failing<CFileTypeBox>(Box("ftyp", "isom" + U16(0)));  // no minor version
    Failing<CMovieHeaderBox>(Box("mvhd", U16(0)));        // no version and flags
    Failing<CHandlerBox>(FullBox("hdlr", 0, 0, U32(0) + "vi"));
    Failing<CVideoMediaHeaderBox>(FullBox("vmhd", 0, 1, U16(0) + U16(1)));
    Failing<CNullMediaHeaderBox>(Box("odhd", U16(0)));
    Failing<CDataReferencebox>(FullBox("dref", 0, 0, U32(1) + Box("url ", "")));  // a url  without version and flags

    // Lists end with the payload: an ftyp's 2 trailing bytes are ignored; the whole pdin
    // pairs before a partial one stay; a cut mvhd keeps what it read.
    auto ftyp = ParseLeaf<CFileTypeBox>(Box("ftyp", "isom" + U32(512) + "iso2" + "avc1" + "xy"));
    EXPECT_EQ(ftyp.status, 0);
    EXPECT_EQ(ftyp->GetCompatibleBrandCount(), 2u);
    EXPECT_EQ(Failing<CProgressiveDownloadbox>(FullBox("pdin", 0, 0, U32(1) + U32(5) + U32(7)))->GetEntryCount(), 1u);
    auto mvhd = Failing<CMovieHeaderBox>(FullBox("mvhd", 0, 0, MvhdPayload(false, 7, 600, 1200).substr(0, 14)));
    EXPECT_EQ(mvhd->m_timescale, 600u);
    // Track IDs to the payload end: a remainder too short for another fails.
    auto cdsc = Failing<CTrackReferenceTypeBox>(Box("cdsc", U32(1) + U16(0)));
    EXPECT_EQ(cdsc->GetTrackIDs(), (std::vector<uint32_t>{1}));

    // Edits: count 2 with three edits' bytes leaves the third unread; a count beyond the
    // payload fails after the edits that fit, and an edit past them reads 0.
    auto extra = ParseLeaf<CEditListBox>(FullBox("elst", 0, 0, U32(2) + kEdit + kEdit + kEdit));
    EXPECT_EQ(extra.status, 0);
    EXPECT_EQ(extra->m_edits.size(), 2u);
    auto hostile = Failing<CEditListBox>(FullBox("elst", 0, 0, U32(0xFFFFFFFF) + kEdit));
    EXPECT_EQ(hostile->m_edits.size(), 1u);
    EXPECT_EQ(hostile->GetMediaTime(5), 0);
    // Fewer data entries than the count: the entries read stay.
    auto dref = Failing<CDataReferencebox>(FullBox("dref", 0, 0, U32(2) + FullBox("url ", 0, 1, "")));
    EXPECT_EQ(dref->GetChildCount(), 1u);
}
