// The own rows and select lists of the sample table box pages.
#include <gtest/gtest.h>

#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/box_rows.h"
#include "support/box_builder.h"

namespace {
PageModel RowsOf(const CBox& box) {
    PageModel page;
    EXPECT_TRUE(AddSampleTableRows(page, box, RowContext{}));
    return page;
}

std::vector<std::pair<std::string, std::string>> Rows(const ReportTable& t) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& [label, value] : t.rows) out.emplace_back(label, value.Plain());
    return out;
}
using RowList = std::vector<std::pair<std::string, std::string>>;

template <class T>
T Unparsed(const char (&type)[5]) {
    CBox header;
    header.m_type = FourCC(type);
    return T(header);
}
}  // namespace

TEST(SampleTableRows, CountsAndEntryLists) {
    // A constant-size stsz still offers its samples, sized by the count.
    auto stsz = ParseLeaf<CSampleSizeBox>(FullBox("stsz", 0, 0, U32(100) + U32(450)));
    PageModel page = RowsOf(*stsz.box);
    ASSERT_EQ(page.tables.size(), 2u);
    EXPECT_EQ(Rows(page.tables[0]), (RowList{{"Sample size", "100 (0X00000064)"}, {"Sample count", "450 (0X000001C2)"}}));
    EXPECT_EQ(page.tables[1].kind, TableKind::EntryPages);
    EXPECT_EQ(page.tables[1].entryCount, 450u);

    auto stdp = Unparsed<CDegradationPriorityBox>("stdp");
    stdp.SetSampleCount(7);
    page = RowsOf(stdp);
    EXPECT_EQ(page.tables[1].title, "Samples");
    EXPECT_EQ(page.tables[1].entryCount, 7u);

    // sdtp counts the records it holds.
    auto sdtp = Unparsed<CSampleDependencyTypeBox>("sdtp");
    sdtp.m_entries.resize(3);
    sdtp.m_sampleCount = 5;
    page = RowsOf(sdtp);
    EXPECT_EQ(Rows(page.tables[0]), (RowList{{"Entry count", "3 (0X00000003)"}}));
    EXPECT_EQ(page.tables[1].entryCount, 3u);

    auto cslg = ParseLeaf<CCompositionToDecodeBox>(FullBox("cslg", 0, 0, U32(1) + U32(0xFFFFFFFE) + U32(3) + U32(4) + U32(5)));
    page = RowsOf(*cslg.box);
    ASSERT_EQ(page.tables.size(), 1u);
    EXPECT_EQ(page.tables[0].rows[1].second.Plain(), "-2 (0XFFFFFFFE)");

    auto sbgp = ParseLeaf<CSampletoGroupBox>(FullBox("sbgp", 0, 0, "roll" + U32(1) + U32(30) + U32(1)));
    page = RowsOf(*sbgp.box);
    EXPECT_EQ(page.tables[0].rows[0].second.Plain(), "1919904876 (0X726F6C6C)");  // the grouping type as a number
}

TEST(SampleTableRows, AuxInfoListsAndDependencies) {
    // A default size stores nothing: three lines of 0.
    auto saiz = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(3)));
    PageModel page = RowsOf(*saiz.box);
    ASSERT_EQ(page.tables.size(), 2u);
    EXPECT_EQ(page.tables[1].title, "Samples");
    EXPECT_EQ(page.tables[1].headers, (std::vector<std::string>{"Sample info size"}));
    ASSERT_EQ(page.tables[1].columns[0].size(), 3u);
    EXPECT_EQ(page.tables[1].columns[0][2].Plain(), "0 (0X00000000)");
    // A hostile count with a default size cannot make billions of lines.
    auto huge = ParseLeaf<CSaizBox>(FullBox("saiz", 0, 0, U8(4) + U32(0xFFFFFFFF)));
    EXPECT_LE(RowsOf(*huge.box).tables[1].columns[0].size(), 200000u);

    auto saio = ParseLeaf<CSaioBox>(FullBox("saio", 1, 0, U32(1) + U64(0x100000010ull)));
    page = RowsOf(*saio.box);
    EXPECT_EQ(page.tables[1].columns[0][0].Plain(), "16 (0X00000010)");

    auto sdep = Unparsed<CSampleDependencyBox>("sdep");
    sdep.SetSampleCount(3);
    const std::string payload = U32(0) + U16(0) + U16(1) + U16(1) + U16(2) + U16(1) + U16(2);
    CBitStreamReader r(reinterpret_cast<const uint8_t*>(payload.data()), payload.size() * 8);
    ASSERT_EQ(sdep.ParseBox(r), 0);
    page = RowsOf(sdep);
    ASSERT_EQ(page.tables.size(), 1u);
    EXPECT_EQ(Rows(page.tables[0]), (RowList{{"Sample count", "3 (0X00000003)"},
                                             {"Dependency count", "0 (0X00000000)"},
                                             {"Dependency sample number", ""},
                                             {"Dependency count", "1 (0X00000001)"},
                                             {"Dependency sample number", "1"},
                                             {"Dependency count", "2 (0X00000002)"},
                                             {"Dependency sample number", "1, 2"}}));

    CBox plain;
    plain.m_type = FourCC("stsz");
    PageModel none;
    EXPECT_FALSE(AddSampleTableRows(none, plain, RowContext{}));
}
