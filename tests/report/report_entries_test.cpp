// The own rows of the box pages: values in their formats, lists, and the boxes whose
// class does not match their type (no rows).
#include <gtest/gtest.h>

#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/page_test_util.h"

namespace {
template <class T>
T Unparsed(const char (&type)[5]) {
    CBox header;
    header.m_type = FourCC(type);
    return T(header);
}
}  // namespace

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
