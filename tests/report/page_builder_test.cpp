// The page machinery the golden pages do not show: the sub-page folder, option
// blocks and their limit, list tables without headers, escaping, the text formats.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "base/span_map.h"
#include "boxes/box.h"
#include "boxes/containers/corvel.h"
#include "report/format.h"
#include "report/markup.h"
#include "report/page_html.h"
#include "report/page_test_util.h"
#include "report/sub_pages.h"

namespace {
// The labels of the options of a page's selects.
std::vector<std::string> Options(const std::string& html) {
    static const std::regex option(R"(<option  ?value = "[^"]*">([^<]*)</option>)");
    std::vector<std::string> labels;
    for (std::sregex_iterator it(html.begin(), html.end(), option), stop; it != stop; ++it) labels.push_back((*it)[1]);
    return labels;
}

std::string PageWith(ReportTable table, const CBox* box = nullptr) {
    PageModel model;
    model.box = box;
    model.tables.push_back(std::move(table));
    return PageHtml(model, "icon.png", "sub/");
}
}  // namespace

TEST(PageBuilder, SubPageFolderAndFailures) {
    TempFolder dir("corvel_head");
    const std::string sub = dir / "SubFolder1/";
    std::filesystem::create_directories(sub);
    std::ofstream(sub + "0.html") << "old sub page";

    ReportPage page(dir / "temp1.html", "icon.png", sub);
    RenderPage(page, PageModel{});
    EXPECT_FALSE(page.Failed());
    EXPECT_EQ(ReadText(dir / "temp1.html"), std::string(kPageHead) + kPageFoot);
    // The previous box's sub pages are gone; the folder is there again.
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    EXPECT_FALSE(std::filesystem::exists(sub + "0.html"));

    // A sub-page folder that cannot be made (below a plain file) does not stop the page.
    std::ofstream(dir / "plain") << "x";
    ReportPage blocked(dir / "temp2.html", "icon.png", dir / "plain/deeper/");
    RenderPage(blocked, PageModel{});
    EXPECT_FALSE(blocked.Failed());
    EXPECT_EQ(ReadText(dir / "temp2.html"), std::string(kPageHead) + kPageFoot);

    // A page file that cannot be created is reported by Failed, nothing else happens.
    ReportPage nowhere(dir / "plain/page.html", "icon.png", "");
    RenderPage(nowhere, PageModel{});
    EXPECT_TRUE(nowhere.Failed());
}

TEST(PageBuilder, EntryPagesOptions) {
    CBox stts;
    stts.m_type = FourCC("stts");
    auto options = [&](uint32_t n) {
        ReportTable table("Entries", TableKind::EntryPages);
        table.entryCount = n;
        EXPECT_EQ(PageWith(table), std::string(kPageHead) + kPageFoot);  // no box: nothing at all
        return Options(PageWith(table, &stts));
    };
    using List = std::vector<std::string>;
    EXPECT_EQ(options(0), List{"Select"});
    EXPECT_EQ(options(200), (List{"Select", "stts(1~200)"}));
    EXPECT_EQ(options(450), (List{"Select", "stts(1~200)", "stts(201~400)", "stts(401~450)"}));
    // A count from a hostile file cannot blow the page up.
    const List big = options(0xFFFFFFFFu);
    EXPECT_EQ(big.size(), kMaxEntryPageOptions + 1);
    EXPECT_EQ(big.back(), "stts(19999801~20000000)");
}

TEST(PageBuilder, TablesEscapeFileText) {
    ReportTable rows("Track Header Box");
    rows.rows.push_back({"Name", Text::FromFile("<script>alert('x')</script>&\""), {}, false});
    rows.rows.push_back({"Fixed", Text("<b>kept</b>"), {}, false});
    const std::string html = PageWith(rows);
    EXPECT_NE(html.find(">&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;&quot;</td>"), std::string::npos);
    EXPECT_NE(html.find("><b>kept</b></td>"), std::string::npos);

    ReportTable list("Entries", TableKind::List);
    list.headers = {"A", "B"};
    list.listRows.push_back({{Text::FromFile("<i>"), Text("2")}, {}});
    EXPECT_NE(PageWith(list).find(">&lt;i&gt;</td>"), std::string::npos);
    // No headers at all: no division by zero, no rows.
    ReportTable none("Entries", TableKind::List);
    none.listRows.push_back({{Text("1")}, {}});
    EXPECT_EQ(PageWith(none).find(">1</td>"), std::string::npos);
}

TEST(TextFormats, DateText) {
    EXPECT_EQ(FormatDateText(0), "1904/01/01 12:00:00");
    EXPECT_EQ(FormatDateText(2082844801ull), "1970/01/01 00:00:01");
    EXPECT_EQ(FormatDateText(2082844800ull), "2036/01/02 00:00:00");  // below the threshold: from 1970
    EXPECT_EQ(FormatDateText(2082844800ull + 4294967295ull), "2106/02/07 06:28:15");
    EXPECT_EQ(FormatDateText(2082844800ull + 4294967296ull), "2172/02/08 06:28:16");  // from 1970 again
    EXPECT_EQ(FormatDateText(32535215999ull), "3000/12/31 23:59:59");
    // Beyond what the calendar shows: a text that says so, never garbage.
    EXPECT_EQ(FormatDateText(32535216000ull), "(out of range: 32535216000)");
}

TEST(TextFormats, EveryByteIsShown) {
    uint8_t many[300];
    for (int i = 0; i < 300; ++i) many[i] = static_cast<uint8_t>(i);
    const std::string text = FormatBytesText(many, 300);
    EXPECT_EQ(text.size(), 300u * 5 - 1);  // no cut at 204
    EXPECT_EQ(text.substr(text.size() - 9), "0x2a 0x2b");
}

// A table of more rows than a sub page holds (a tfra of 450 entries) is paged: the box
// page holds none of its rows but a select of three sub pages, and a span over all the
// entries; the model of sub page k holds rows 200k to 200k + 199 with their spans; the
// JSON document's model holds every row.
TEST(PageBuilder, LongTablesArePaged) {
    constexpr uint32_t kEntries = 450, kEntryBytes = 11;
    std::string entries;
    for (uint32_t i = 0; i < kEntries; ++i) entries += U32(1000 * i) + U32(5000 + i) + U8(1) + U8(1) + U8(1);
    const std::string tfra = FullBox("tfra", 0, 0, U32(1) + U32(0) + U32(kEntries) + entries);
    const std::string path = WriteTempFile("long_tfra.mp4", Box("ftyp", "isom" + U32(0) + "isom") + Box("mfra", tfra));
    CCorvelLib lib;
    ASSERT_EQ(lib.Init(path), 0);
    ASSERT_EQ(lib.Go(), 0);
    const CBox& mfra = *lib.Parser()->GetBox(1);
    SpanMap spans;
    const std::unique_ptr<CBox> copy = lib.Parser()->Reparse(mfra, spans);
    ASSERT_TRUE(copy);
    const CBox& box = *copy->GetChild(0);
    const uint64_t first = 20 + 8 + 12 + 12;  // ftyp, mfra header, tfra header, its three fields
    PageContext context{copy.get(), lib.Parser(), nullptr, &spans};

    const PageModel page = BuildBoxPage(box, context);
    const ReportTable& list = page.tables.back();
    ASSERT_EQ(list.title, "Entries");
    EXPECT_TRUE(list.Paged());
    EXPECT_EQ(list.rowCount, kEntries);
    EXPECT_TRUE(list.listRows.empty());
    EXPECT_EQ(list.entriesSpan.Offset(), first);
    EXPECT_EQ(list.entriesSpan.Length(), uint64_t{kEntries} * kEntryBytes);
    EXPECT_EQ(PagedTables(page), std::vector<size_t>{page.tables.size() - 1});
    EXPECT_EQ(TablePageCount(page), 3u);
    const std::string html = PageHtml(page, "icon.png", "sub/");
    const std::vector<std::string> options{"Select", "Entries(1~200)", "Entries(201~400)", "Entries(401~450)"};
    EXPECT_EQ(Options(html), options);
    EXPECT_NE(html.find("value = \"sub/" + RowPageName(page.tables.size() - 1, 400) + "\""), std::string::npos);
    EXPECT_EQ(html.find(">5000</td>"), std::string::npos);  // no row of the table

    context.window = {RowWindow::SubPage, page.tables.size() - 1, 2};
    const PageModel rows = BuildBoxPage(box, context);
    const ReportTable& last = rows.tables.back();
    ASSERT_EQ(last.listRows.size(), 50u);
    EXPECT_EQ(last.firstRow, 400u);
    EXPECT_EQ(last.listRows[0].cells[0].Plain(), "400000");
    EXPECT_EQ(last.listRows[0].span.Offset(), first + 400 * kEntryBytes);
    EXPECT_EQ(last.listRows[49].cells[1].Plain(), "5449");
    const auto at = TablePageAt(page, 2);
    ASSERT_TRUE(at);
    EXPECT_EQ(at->page, 2u);
    EXPECT_FALSE(TablePageAt(page, 3));

    context.window = {RowWindow::AllRows};
    EXPECT_EQ(BuildBoxPage(box, context).tables.back().listRows.size(), kEntries);
}
