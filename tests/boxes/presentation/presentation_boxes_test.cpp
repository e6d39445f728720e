// The presentation and media header boxes on hand-built bytes: versions, trailing bytes
// and cuts the corpus lacks (its headers are checked by the spans property and against
// the durations and track tables of the reference tools).
#include <gtest/gtest.h>

#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "support/box_builder.h"

namespace {
std::string MvhdPayload(bool wide, uint64_t creation, uint32_t timescale, uint64_t duration) {
    auto t = [wide](uint64_t v) { return wide ? U64(v) : U32(static_cast<uint32_t>(v)); };
    return t(creation) + t(creation + 1) + U32(timescale) + t(duration) + U32(0x00010000) + U16(0x0100) + U16(0) +
           U32(0) + U32(0) + std::string(36 + 24, '\0') + U32(3);
}
}  // namespace

TEST(PresentationBoxes, ListsUntilThePayloadEnds) {
    auto ftyp = ParseLeaf<CFileTypeBox>(Box("ftyp", "isom" + U32(512) + "iso2" + "avc1" + "xy"));
    EXPECT_EQ(ftyp.status, 0);
    ASSERT_EQ(ftyp->GetCompatibleBrandCount(), 2u);  // the 2 trailing bytes are ignored
    EXPECT_EQ(ftyp->GetCompatibleBrand(1), FourCC("avc1"));
    EXPECT_EQ(ParseLeaf<CFileTypeBox>(Box("ftyp", "isom" + U16(0))).status, -1);  // no minor version

    // A partial last pdin pair fails the box; the whole pairs before it stay.
    auto pdin = ParseLeaf<CProgressiveDownloadbox>(FullBox("pdin", 0, 0, U32(1000) + U32(5) + U32(7)));
    EXPECT_EQ(pdin.status, -1);
    ASSERT_EQ(pdin->GetEntryCount(), 1u);
    EXPECT_EQ(pdin->GetInitialDelay(0), 5u);
}

TEST(PresentationBoxes, HeaderTimesByVersion) {
    // Every field after the times is read from the right place only if the times had the right width.
    auto v0 = ParseLeaf<CMovieHeaderBox>(FullBox("mvhd", 0, 0, MvhdPayload(false, 0xD5A8F4B0, 1000, 5000)));
    EXPECT_EQ(v0->m_duration, 5000u);
    EXPECT_EQ(v0->m_nextTrackID, 3u);
    auto v1 = ParseLeaf<CMovieHeaderBox>(FullBox("mvhd", 1, 0, MvhdPayload(true, 0x100000002ull, 90000, 0x200000003ull)));
    EXPECT_EQ(v1->m_duration, 0x200000003ull);
    EXPECT_EQ(v1->m_nextTrackID, 3u);
    // Version 2 is not 1: 32-bit times.
    EXPECT_EQ(ParseLeaf<CMovieHeaderBox>(FullBox("mvhd", 2, 0, MvhdPayload(false, 7, 600, 1200)))->m_duration, 1200u);

    // Cut inside the fields: fails, what was read stays.
    auto cut = ParseLeaf<CMovieHeaderBox>(FullBox("mvhd", 0, 0, MvhdPayload(false, 7, 600, 1200).substr(0, 14)));
    EXPECT_EQ(cut.status, -1);
    EXPECT_EQ(cut->m_timescale, 600u);
    EXPECT_EQ(ParseLeaf<CMovieHeaderBox>(Box("mvhd", U16(0))).status, -1);  // no version and flags

    // mdhd version 1: a 64-bit duration, then the language ('und' is 0x55C4).
    std::string mdhd = U64(1) + U64(2) + U32(0) + U64(0x100000000ull) + U16(0x55C4) + U16(0);
    auto m = ParseLeaf<CMediaHeaderBox>(FullBox("mdhd", 1, 0, mdhd));
    EXPECT_EQ(m->GetDuration(), 0x100000000ull);
    EXPECT_EQ(m->GetLanguageCode(2), 0x04u);
}

TEST(PresentationBoxes, HandlerAndMediaInformationHeaders) {
    std::string fixed = U32(0) + "soun" + U32(0) + U32(0) + U32(0);
    auto named = ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, fixed + std::string("Sound\0x", 7)));
    EXPECT_EQ(named->GetHandlerType(), FourCC("soun"));
    EXPECT_EQ(named->GetName(), std::string("Sound\0x", 7));  // every byte kept, the zero included
    EXPECT_EQ(ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, U32(0) + "vi")).status, -1);

    EXPECT_EQ(ParseLeaf<CVideoMediaHeaderBox>(FullBox("vmhd", 0, 1, U16(0) + U16(1))).status, -1);
    // A non-zero reserved word only logs.
    EXPECT_EQ(ParseLeaf<CSoundMediaHeaderBox>(FullBox("smhd", 0, 0, U16(0x0100) + U16(9))).status, 0);
    EXPECT_EQ(ParseLeaf<CNullMediaHeaderBox>(FullBox("odhd", 0, 0, "")).status, 0);
    EXPECT_EQ(ParseLeaf<CNullMediaHeaderBox>(Box("odhd", U16(0))).status, -1);
}
