// The own rows of the box pages: values in their formats, lists, and the boxes whose
// class does not match their type (no rows).
#include <gtest/gtest.h>

#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/page_test_util.h"

namespace {
std::string Mvhd(uint8_t version, uint64_t time, uint32_t timescale, uint64_t duration, uint16_t volume, uint32_t rate) {
    auto t = [version](uint64_t v) { return version == 1 ? U64(v) : U32(static_cast<uint32_t>(v)); };
    return FullBox("mvhd", version, 0,
                   t(time) + t(3600) + U32(timescale) + t(duration) + U32(rate) + U16(volume) + U16(0) +
                       std::string(8 + 36 + 24, '\0') + U32(2));
}

template <class T>
T Unparsed(const char (&type)[5]) {
    CBox header;
    header.m_type = FourCC(type);
    return T(header);
}
}  // namespace

TEST(ReportEntries, MovieTrackAndMediaHeaders) {
    // The rows that show more than the field (the corpus spans test reads the fields):
    // time 0, timescale 0 (the product undivided), volume 0x0080, a negative rate.
    auto odd = ParseLeaf<CMovieHeaderBox>(Mvhd(1, 0, 0, 0x100000000ull, 0x0080, 0xFFFE0000));
    PageModel page = PageOf(*odd.box);
    EXPECT_EQ(Value(page, "Creation time(UTC)"), "1904/01/01 12:00:00 (0X00000000)");
    EXPECT_EQ(Value(page, "Duration"), "4294967296 (0X100000000)");
    EXPECT_EQ(Value(page, "Duration(ms)"), "4294967296000");
    EXPECT_EQ(Value(page, "Volume"), "0.0 (0X0080>>8)");
    EXPECT_EQ(Value(page, "Rate"), "-2.0 (0XFFFE0000>>16)");

    std::string tkhd = U32(0) + U32(0) + U32(1) + U32(0) + U32(2000) + std::string(8 + 8 + 36, '\0') +
                       U32(0x00A08000) + U32(0x00780000);
    auto t = ParseLeaf<CTrackHeaderBox>(FullBox("tkhd", 0, 3, tkhd));
    EXPECT_EQ(Value(PageOf(*t.box), "Width"), "160.0 (0X00A08000>>16)");

    auto m = ParseLeaf<CMediaHeaderBox>(FullBox("mdhd", 0, 0, U32(0) + U32(0) + U32(600) + U32(1200) + U16(0x55C4) + U16(0)));
    page = PageOf(*m.box);
    EXPECT_EQ(page.tables[1].rows.size(), 5u);  // no "Duration(ms)"
    EXPECT_EQ(Value(page, "Language"), "und(0X15+0x60, 0X0E+0x60, 0X04+0x60)");
}

TEST(ReportEntries, BrandsNamesAndLists) {
    auto ftyp = ParseLeaf<CFileTypeBox>(Box("ftyp", "isom" + U32(512) + "iso2" + "a<b>"));
    PageModel page = PageOf(*ftyp.box);
    EXPECT_EQ(page.tables[1].rows[2].value.Html(), "iso2 (0X69736F32), a&lt;b&gt; (0X613C623E)");
    auto bare = ParseLeaf<CFileTypeBox>(Box("styp", "msdh" + U32(0)));
    EXPECT_EQ(Value(PageOf(*bare.box), "Compatible brands"), "");

    std::string fixed = U32(0) + "vide" + U32(0) + U32(0) + U32(0);
    auto cut = ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, fixed + std::string("Video<1>\0tail", 13)));
    EXPECT_EQ(PageOf(*cut.box).tables[1].rows[1].value.Html(), "Video&lt;1&gt;");  // up to the zero byte
    auto whole = ParseLeaf<CHandlerBox>(FullBox("hdlr", 0, 0, fixed + "NoZero"));
    EXPECT_EQ(Value(PageOf(*whole.box), "Name"), "NoZero");

    auto pdin = ParseLeaf<CProgressiveDownloadbox>(FullBox("pdin", 0, 0, U32(1000) + U32(5) + U32(2000) + U32(2)));
    page = PageOf(*pdin.box);
    ASSERT_EQ(page.tables.size(), 3u);
    EXPECT_EQ(Cells(page, 2, 1), (std::vector<std::string>{"2000 (0X000007D0)", "2 (0X00000002)"}));

    // A plain box of a known type (a header-only placeholder) gets its title and no rows.
    CBox plain;
    plain.m_type = FourCC("mvhd");
    page = PageOf(plain);
    EXPECT_EQ(page.title, "Movie Header Box");
    EXPECT_EQ(page.tables.size(), 1u);
}

TEST(ReportEntries, SampleTableCountsAndLists) {
    // A constant-size stsz still offers its samples, sized by the count.
    auto stsz = ParseLeaf<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(100) + U32(450)));
    PageModel page = PageOf(*stsz.box);
    ASSERT_EQ(page.tables.size(), 3u);
    EXPECT_EQ(page.tables[2].kind, TableKind::EntryPages);
    EXPECT_EQ(page.tables[2].entryCount, 450u);

    auto stdp = Unparsed<CDegradationPriorityBox>("stdp");
    // Of 7 samples the box holds the priorities of 4: only those are listed.
    stdp.SetSampleCount(7);
    stdp.m_priorities.resize(4);
    page = PageOf(stdp);
    EXPECT_EQ(page.tables[2].entryCount, 4u);

    // sdtp counts the records it holds: 3 of 5 samples.
    auto sdtp = Unparsed<CSampleDependencyTypeBox>("sdtp");
    sdtp.SetSampleCount(5);
    const std::string sdtpBytes = U32(0) + "abc";
    CBitStreamReader sdtpReader(reinterpret_cast<const uint8_t*>(sdtpBytes.data()), sdtpBytes.size() * 8);
    EXPECT_EQ(sdtp.ParseBox(sdtpReader), -1);
    page = PageOf(sdtp);
    EXPECT_EQ(page.tables[2].entryCount, 3u);

    auto cslg = ParseLeaf<CCompositionToDecodeBox>(FullBox("cslg", 0, 0, U32(1) + U32(0xFFFFFFFE) + U32(3) + U32(4) + U32(5)));
    EXPECT_EQ(Value(PageOf(*cslg.box), "Least decode to display delta"), "-2 (0XFFFFFFFE)");

    // A default size stores nothing: three lines of the default.
    auto saiz = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(3)));
    page = PageOf(*saiz.box);
    ASSERT_EQ(page.tables.size(), 3u);
    ASSERT_EQ(page.tables[2].listRows.size(), 3u);
    EXPECT_EQ(page.tables[2].listRows[2].cells[0].Plain(), "4 (0X00000004)");
    // A hostile count with a default size cannot make billions of lines.
    auto huge = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(0xFFFFFFFF)));
    EXPECT_LE(PageOf(*huge.box).tables[2].listRows.size(), 200000u);

    auto saio = ParseLeaf<CSaioBox>(FullBox("saio", 1, 0, U32(1) + U64(0x100000010ull)));
    EXPECT_EQ(PageOf(*saio.box).tables[2].listRows[0].cells[0].Plain(), "4294967312 (0X100000010)");

    auto sdep = Unparsed<CSampleDependencyBox>("sdep");
    sdep.SetSampleCount(3);
    const std::string payload = U32(0) + U16(0) + U16(1) + U16(1) + U16(2) + U16(1) + U16(2);
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(payload.data()), payload.size() * 8);
    ASSERT_EQ(sdep.ParseBox(r), 0);
    page = PageOf(sdep);
    ASSERT_EQ(page.tables.size(), 2u);
    std::vector<std::string> rows;
    for (const Row& row : page.tables[1].rows) rows.push_back(row.label + ": " + row.value.Plain());
    EXPECT_EQ(rows, (std::vector<std::string>{"Sample count: 3 (0X00000003)", "Dependency count: 0 (0X00000000)",
                                              "Dependency sample number: ", "Dependency count: 1 (0X00000001)",
                                              "Dependency sample number: 1", "Dependency count: 2 (0X00000002)",
                                              "Dependency sample number: 1, 2"}));
}
