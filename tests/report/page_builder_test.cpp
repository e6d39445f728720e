#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "boxes/box.h"
#include "report/format.h"
#include "report/markup.h"
#include "report/report_page.h"
#include "report/page_test_util.h"

namespace {
const std::string kIcon = "/opt/app/Img/icon_right.png";

const std::string kSubFolder = (std::filesystem::path(TempDir()) / "corvel_table" / "sub/").string();

// Renders one table into a page of its own and returns the bytes between head and foot.
std::string RenderOne(const ReportTable& table, const CBox* box = nullptr) {
    TempFolder dir("corvel_table");
    ReportPage page(dir / "page.html", kIcon, kSubFolder);
    BeginPage(page);
    RenderTable(page, table, box);
    EndPage(page);
    std::string all = ReadText(dir / "page.html");
    EXPECT_EQ(all.substr(0, kExpectedHead.size()), kExpectedHead);
    EXPECT_EQ(all.substr(all.size() - kExpectedFoot.size()), kExpectedFoot);
    return all.substr(kExpectedHead.size(), all.size() - kExpectedHead.size() - kExpectedFoot.size());
}
}  // namespace

TEST(PageBuilder, HeadFootAndSubPageFolder) {
    TempFolder dir("corvel_head");
    const std::string sub = dir / "SubFolder1/";
    std::filesystem::create_directories(sub);
    std::ofstream(sub + "0.html") << "old sub page";

    ReportPage page(dir / "temp1.html", kIcon, sub);
    BeginPage(page);
    EndPage(page);
    EXPECT_FALSE(page.Failed());
    EXPECT_EQ(ReadText(dir / "temp1.html"), kExpectedHead + kExpectedFoot);
    // The previous box's sub pages are gone; the folder is there again.
    EXPECT_TRUE(std::filesystem::is_directory(sub));
    EXPECT_FALSE(std::filesystem::exists(sub + "0.html"));

    // A sub-page folder that cannot be made (below a plain file) does not stop the page.
    std::ofstream(dir / "plain") << "x";
    ReportPage blocked(dir / "temp2.html", kIcon, dir / "plain/deeper/");
    BeginPage(blocked);
    EndPage(blocked);
    EXPECT_FALSE(blocked.Failed());
    EXPECT_EQ(ReadText(dir / "temp2.html"), kExpectedHead + kExpectedFoot);

    // A page file that cannot be created is reported by Failed, nothing else happens.
    ReportPage nowhere(dir / "plain/page.html", kIcon, "");
    BeginPage(nowhere);
    EndPage(nowhere);
    EXPECT_TRUE(nowhere.Failed());
}

TEST(PageBuilder, SubPageHeadAndFoot) {
    const std::string head =
        "<html>\r\n<head>\r\n<script language=\"Javascript\" type=\"text/javascript\">\r\nwindow.onload = "
        "function()\r\n{\r\n parent.fncResizeHeight(document.body.scrollHeight);\r\n}\r\n </script>\r\n<style "
        "type=\"text/css\">\r\ntd{ font-size:12px;color:#000000;font-family:arial}\r\n</style>\r\n</head>\r\n<body "
        "leftmargin = 0 topmargin = 0; rightmargin=0; bottommargin=0 oncontextmenu = \"return false\" "
        "ondragstart=\"return false\">\r\n";
    EXPECT_EQ(SubPageHead(false), head);
    EXPECT_EQ(SubPageHead(true),
              "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
              "\"http://www.w3.org/TR/html4/loose.dtd\"\r\n>" +
                  head);
    EXPECT_EQ(std::string(kSubPageFoot), kExpectedFoot);
    EXPECT_EQ(SubTitleRow(6, kIcon, "stbl"),
              "<tr>\r\n<td colspan = \"6\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"" + kIcon +
                  "\"  align = absmiddle><b> stbl</b></td>\r\n</tr>\r\n");
}

TEST(PageBuilder, KeyValueTable) {
    ReportTable empty;
    EXPECT_EQ(RenderOne(empty), kExpectedTableOpen + ExpectedKeyValueTitle(kIcon, "Detailed-Information") +
                                             "</table>\r\n" + kExpectedSpacer);

    // Text from the file never becomes markup; fixed texts stay as they are.
    ReportTable rows("Track Header Box");
    rows.AddRow("Name", Text::FromFile("<script>alert('x')</script>&\""));
    rows.AddRow("Fixed", Text("<b>kept</b>"));
    EXPECT_EQ(RenderOne(rows),
              kExpectedTableOpen + ExpectedKeyValueTitle(kIcon, "Track Header Box") +
                  ExpectedKeyValueRow("Name", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;&amp;&quot;") +
                  ExpectedKeyValueRow("Fixed", "<b>kept</b>") + "</table>\r\n" + kExpectedSpacer);

    // Ready markup is written as it is.
    ReportTable markup("", TableKind::Markup);
    markup.markup = Text("<table>fixed</table>\r\n");
    EXPECT_EQ(RenderOne(markup), "<table>fixed</table>\r\n");
}

TEST(PageBuilder, ListTable) {
    const std::string listTitle = "<tr><td colspan = \"%d\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"" +
                                  kIcon + "\"  align = absmiddle> <b>Entries</b></td>\r\n</tr>\r\n";
    ReportTable headersOnly("Entries", TableKind::List);
    headersOnly.headers = {"Time", "Offset"};
    EXPECT_EQ(RenderOne(headersOnly),
              kExpectedTableOpen + Format(listTitle.c_str(), 2) +
                  "<tr>\r\n<td align = \"left\"  bgcolor = #f3f1f1 width = \"50%\">Time</td>\r\n"
                  "<td align = \"left\"  bgcolor = #f3f1f1 width = \"50%\">Offset</td>\r\n</tr>\r\n"
                  "</table>\r\n" +
                  kExpectedSpacer);

    ReportTable three("Entries", TableKind::List);
    three.AddColumn("A", {Text("1"), Text("2")});
    three.AddColumn("B", {Text("3"), Text("4")});
    three.AddColumn("C", {Text::FromFile("<i>"), Text("6")});
    const std::string head = "<td align = \"left\"  bgcolor = #f3f1f1 width = \"33%\">";
    const std::string cell = "<td align = \"left\"  bgcolor = white width = \"33%\">";
    EXPECT_EQ(RenderOne(three),
              kExpectedTableOpen + Format(listTitle.c_str(), 3) + "<tr>\r\n" + head + "A</td>\r\n" + head +
                  "B</td>\r\n" + head + "C</td>\r\n</tr>\r\n<tr>\r\n" + cell + "1</td>\r\n" + cell +
                  "3</td>\r\n" + cell + "&lt;i&gt;</td>\r\n</tr>\r\n<tr>\r\n" + cell + "2</td>\r\n" + cell +
                  "4</td>\r\n" + cell + "6</td>\r\n</tr>\r\n</table>\r\n" + kExpectedSpacer);

    // No headers at all: no division by zero, just the title row and an empty header row.
    ReportTable none("Entries", TableKind::List);
    EXPECT_EQ(RenderOne(none),
              kExpectedTableOpen + Format(listTitle.c_str(), 0) + "<tr>\r\n</tr>\r\n</table>\r\n" + kExpectedSpacer);
}

TEST(PageBuilder, EntryPagesSelect) {
    CBox stts;
    stts.m_type = FourCC("stts");
    stts.m_id = 42;
    auto render = [&](uint32_t n) {
        ReportTable table("Entries", TableKind::EntryPages);
        table.entryCount = n;
        EXPECT_EQ(RenderOne(table), "");  // no box: nothing at all
        return RenderOne(table, &stts);
    };
    auto expected = [&](const std::string& options) {
        return kExpectedTableOpen + "<tr><td align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"" + kIcon +
               "\"  align = absmiddle> <b>Entries</b></td>\r\n</tr>\r\n<tr>\r\n<td align = \"left\" bgcolor = white>"
               "<select name='#' style='width:120;' ID = STDL_PAGE nid = 0  box_pos = 42>"
               "<option value = \"0\">Select</option>" +
               options + "</select></td>\r\n</tr>\r\n</table>\r\n" + kExpectedSpacer + kExpectedFrame;
    };
    auto option = [&](uint32_t first, uint32_t last) {
        return "<option  value = \"" + kSubFolder + std::to_string(first) + ".html\">stts(" + std::to_string(first + 1) +
               "~" + std::to_string(last) + ")</option>";
    };
    EXPECT_EQ(render(0), expected(""));
    EXPECT_EQ(render(200), expected(option(0, 200)));
    EXPECT_EQ(render(201), expected(option(0, 200) + option(200, 201)));
    EXPECT_EQ(render(450), expected(option(0, 200) + option(200, 400) + option(400, 450)));
    // A count from a hostile file cannot blow the page up: the list stops after
    // kMaxEntryPageOptions options.
    const std::string big = render(0xFFFFFFFFu);
    const uint32_t lastFirst = (kMaxEntryPageOptions - 1) * 200;
    EXPECT_NE(big.find(option(lastFirst, lastFirst + 200) + "</select>"), std::string::npos);
    EXPECT_LT(big.size(), 200u * kMaxEntryPageOptions);
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

TEST(TextFormats, BytesAndFourCC) {
    const uint8_t four[] = {0x67, 0x42, 0xC0, 0x1E};
    EXPECT_EQ(FormatBytesText(four, 4), "0x67 0x42 0xc0 0x1e");
    EXPECT_EQ(FormatBytesText(four, 0), "");
    uint8_t many[300];
    for (int i = 0; i < 300; ++i) many[i] = static_cast<uint8_t>(i);
    const std::string text = FormatBytesText(many, 300);
    EXPECT_EQ(text.size(), 300u * 5 - 1);  // every byte, no cut at 204
    EXPECT_EQ(text.substr(text.size() - 9), "0x2a 0x2b");

    const Text odd = FourCCValue(FourCC("<&\"'"));
    EXPECT_EQ(odd.Plain(), "<&\"'");
    EXPECT_EQ(odd.Html(), "&lt;&amp;&quot;&#39;");
    EXPECT_EQ(I64Text(-1), "-1 (0XFFFFFFFF)");
}
