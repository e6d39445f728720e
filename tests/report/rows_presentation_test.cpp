// The own rows of the presentation box pages.
#include <gtest/gtest.h>

#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "report/box_rows.h"
#include "support/box_builder.h"

namespace {
PageModel RowsOf(const CBox& box) {
    PageModel page;
    EXPECT_TRUE(AddPresentationRows(page, box, RowContext{}));
    return page;
}

// The value of a label in the page's first table ("" when missing).
std::string Value(const PageModel& page, const std::string& label, bool html = false) {
    if (page.tables.empty()) return "<no table>";
    for (const auto& [l, v] : page.tables[0].rows)
        if (l == label) return html ? v.Html() : v.Plain();
    return "<no row>";
}

std::string Mvhd(uint8_t version, uint64_t time, uint32_t timescale, uint64_t duration, uint16_t volume, uint32_t rate) {
    auto t = [version](uint64_t v) { return version == 1 ? U64(v) : U32(static_cast<uint32_t>(v)); };
    return FullBox("mvhd", version, 0,
                   t(time) + t(3600) + U32(timescale) + t(duration) + U32(rate) + U16(volume) + U16(0) +
                       std::string(8 + 36 + 24, '\0') + U32(2));
}
}  // namespace

TEST(PresentationRows, MovieTrackAndMediaHeaders) {
    auto mvhd = ParseLeaf<CMovieHeaderBox>(Mvhd(0, 0xD5A8F4B0, 1000, 5500, 0x0100, 0x00010000));
    PageModel page = RowsOf(*mvhd.box);
    ASSERT_EQ(page.tables.size(), 1u);
    std::vector<std::string> labels;
    for (const auto& row : page.tables[0].rows) labels.push_back(row.first);
    EXPECT_EQ(labels, (std::vector<std::string>{"Creation time(UTC)", "Modification time(UTC)", "Time scale", "Duration",
                                                "Duration(ms)", "Next track id", "Volume", "Rate"}));
    EXPECT_EQ(Value(page, "Creation time(UTC)"), "2017/08/03 15:41:36 (0XD5A8F4B0)");
    EXPECT_EQ(Value(page, "Modification time(UTC)"), "1970/01/01 01:00:00 (0X00000E10)");  // below 1904's range
    EXPECT_EQ(Value(page, "Duration(ms)"), "5500");
    EXPECT_EQ(Value(page, "Volume"), "1.0 (0X0100>>8)");
    EXPECT_EQ(Value(page, "Rate"), "1.0 (0X00010000>>16)");

    // Time 0, timescale 0 (the product undivided), volume 0x0080, a negative rate.
    auto odd = ParseLeaf<CMovieHeaderBox>(Mvhd(1, 0, 0, 0x100000000ull, 0x0080, 0xFFFE0000));
    page = RowsOf(*odd.box);
    EXPECT_EQ(Value(page, "Creation time(UTC)"), "1904/01/01 12:00:00 (0X00000000)");
    EXPECT_EQ(Value(page, "Duration"), "4294967296 (0X00000000)");
    EXPECT_EQ(Value(page, "Duration(ms)"), "4294967296000");
    EXPECT_EQ(Value(page, "Volume"), "0.0 (0X0080>>8)");
    EXPECT_EQ(Value(page, "Rate"), "-2.0 (0XFFFE0000>>16)");

    std::string tkhd = U32(0) + U32(0) + U32(1) + U32(0) + U32(2000) + std::string(8 + 8 + 36, '\0') +
                       U32(0x00A08000) + U32(0x00780000);
    auto t = ParseLeaf<CTrackHeaderBox>(FullBox("tkhd", 0, 3, tkhd));
    page = RowsOf(*t.box);
    EXPECT_EQ(Value(page, "Width"), "160.0 (0X00A08000>>16)");

    auto m = ParseLeaf<CMediaHeaderBox>(FullBox("mdhd", 0, 0, U32(0) + U32(0) + U32(600) + U32(1200) + U16(0x55C4) + U16(0)));
    page = RowsOf(*m.box);
    EXPECT_EQ(page.tables[0].rows.size(), 5u);  // no "Duration(ms)"
    EXPECT_EQ(Value(page, "Language"), "und(0X15+0x60, 0X0E+0x60, 0X04+0x60)");
}

TEST(PresentationRows, BrandsNamesAndLists) {
    auto ftyp = ParseLeaf<CFileTypeBox>(Box("ftyp", "isom" + U32(512) + "iso2" + "a<b>"));
    PageModel page = RowsOf(*ftyp.box);
    EXPECT_EQ(Value(page, "Major brand"), "isom (0X69736F6D)");
    EXPECT_EQ(Value(page, "Compatible brands", true), "iso2 (0X69736F32), a&lt;b&gt; (0X613C623E)");
    auto bare = ParseLeaf<CFileTypeBox>(Box("styp", "msdh" + U32(0)));
    EXPECT_EQ(Value(RowsOf(*bare.box), "Compatible brands"), "");

    std::string fixed = U32(0) + "vide" + U32(0) + U32(0) + U32(0);
    auto cut = ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, fixed + std::string("Video<1>\0tail", 13)));
    page = RowsOf(*cut.box);
    EXPECT_EQ(Value(page, "Name", true), "Video&lt;1&gt;");  // up to the zero byte
    auto whole = ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, fixed + "NoZero"));
    EXPECT_EQ(Value(RowsOf(*whole.box), "Name"), "NoZero");

    auto pdin = ParseLeaf<CProgressiveDownloadbox>(FullBox("pdin", 0, 0, U32(1000) + U32(5) + U32(2000) + U32(2)));
    page = RowsOf(*pdin.box);
    EXPECT_EQ(Value(page, "List count"), "2 (0X00000002)");
    ASSERT_EQ(page.tables.size(), 2u);
    const ReportTable& list = page.tables[1];
    EXPECT_EQ(list.title, "PDIN List");
    EXPECT_EQ(list.headers, (std::vector<std::string>{"rate", "Initial delay"}));
    ASSERT_EQ(list.columns.size(), 2u);
    EXPECT_EQ(list.columns[0][1].Plain() + " " + list.columns[1][0].Plain(), "2000 (0X000007D0) 5 (0X00000005)");

    // Header rows only: known, but no tables of their own.
    auto vmhd = ParseLeaf<CVideoMediaHeaderBox>(FullBox("vmhd", 0, 1, std::string(8, '\0')));
    EXPECT_TRUE(RowsOf(*vmhd.box).tables.empty());
    // A plain box of a known type (a header-only placeholder) is not this group's.
    CBox plain;
    plain.m_type = FourCC("mvhd");
    PageModel none;
    EXPECT_FALSE(AddPresentationRows(none, plain, RowContext{}));
    EXPECT_TRUE(none.tables.empty());
}
