#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "boxes/containers/corvel.h"
#include "report/markup.h"
#include "report/page_html.h"
#include "report/page_json.h"
#include "report/page_test_util.h"
#include "report/text.h"
#include "support/cli_run.h"

namespace {
// The markup of a key/value row, to find a JSON row on the HTML page.
std::string KeyValueRow(const std::string& label, const std::string& value) {
    return "<tr>\r\n<td align = \"left\"  bgcolor = #f3f1f1 width = \"35%\">" + label +
           "</td>\r\n<td align = \"left\" bgcolor = white>" + value + "</td>\r\n</tr>\r\n";
}

std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

template <class Fn>
void ForEachBox(const CBox* parent, const CBox& box, const Fn& fn) {
    fn(parent, box);
    for (const auto& child : box.m_children)
        if (child) ForEachBox(&box, *child, fn);
}
}  // namespace

// Every corpus file gives valid JSON, the same as its kept tree gives, and every box a
// whole HTML page. In files whose texts are valid UTF-8 the JSON holds, box for box in
// tree order, the page's title and rows.
TEST(CorvelJson, ValidAndAgreesWithTheHtmlPages) {
    // Python reads the JSON as strict UTF-8 and says it box by box ("B type title") and
    // row by row ("R label value"), texts in hex.
    const std::string script = WriteTempFile("json_lines.py",
                                             "import json,sys\n"
                                             "h=lambda s: s.encode().hex() or '-'\n"
                                             "def walk(b):\n"
                                             "    print('B', h(b['type']), h(b['title']))\n"
                                             "    for t in b['tables']:\n"
                                             "        if t['kind'] == 'KeyValue':\n"
                                             "            for r in t['rows']: print('R', h(r['label']), h(r['value']))\n"
                                             "    for c in b['children']: walk(c)\n"
                                             "d = json.loads(sys.stdin.buffer.read().decode('utf-8'))\n"
                                             "assert d['status'] in (0, -1) and isinstance(d['boxes'], list)\n"
                                             "for b in d['boxes']: walk(b)\n");
    const std::set<std::string> compared = {"avc_aac.mov", "smooth.ismv", "xmp_uuid.mp4", "largesize_mdat.mp4"};
    for (const std::string& name : CorpusFiles()) {
        const CliRun json = RunCorvel("json '" + CorpusPath(name) + "' 2>/dev/null | python3 " + script);
        ASSERT_EQ(json.status, 0) << name << ": " << json.err;
        std::vector<std::vector<std::string>> lines;
        std::istringstream in(json.out);
        for (std::string tag, a, b; in >> tag >> a >> b;) lines.push_back({tag, a == "-" ? "" : a, b == "-" ? "" : b});
        size_t at = 0;
        CCorvelLib lib;
        if (lib.Init(CorpusPath(name)) < 0) continue;
        const int status = lib.Go();
        // corvel json walks the file twice and keeps no tree: the text of the kept tree.
        std::ostringstream kept, streamed;
        WriteTreeJson(kept, CorpusPath(name), status, *lib.Parser());
        CCorvelLib again;
        EXPECT_EQ(WriteStreamedTreeJson(streamed, CorpusPath(name), again), status) << name;
        EXPECT_TRUE(kept.str() == streamed.str()) << name;
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) {
            ForEachBox(nullptr, *lib.Parser()->GetBox(i), [&](const CBox* parent, const CBox& box) {
                const std::string html = PageHtml(BuildBoxPage(box, {parent, lib.Parser(), nullptr, nullptr}), "icon.png", "");
                EXPECT_EQ(html.rfind(kPageHead, 0), 0u) << name << " " << box.TypeText();
                EXPECT_EQ(html.substr(html.size() - std::strlen(kPageFoot)), kPageFoot);
                if (!compared.count(name)) return;
                ASSERT_LT(at, lines.size());
                ASSERT_EQ(lines[at][0], "B") << name;
                EXPECT_EQ(FromHex(lines[at][1]), box.TypeText());
                const std::string title = FromHex(lines[at][2]);
                EXPECT_TRUE(title.empty() || html.find("<b>" + title + "</b>") != std::string::npos) << title;
                size_t rows = 0;
                for (++at; at < lines.size() && lines[at][0] == "R"; ++at, ++rows) {
                    // Fixed texts stand as they are, texts from the file escaped.
                    const std::string label = FromHex(lines[at][1]), value = FromHex(lines[at][2]);
                    EXPECT_TRUE(html.find(KeyValueRow(label, value)) != std::string::npos ||
                                html.find(KeyValueRow(label, HtmlEscape(value))) != std::string::npos)
                        << name << ": " << label << " = " << value;
                }
                size_t htmlRows = 0;
                for (size_t p = html.find("width = \"35%\">"); p != std::string::npos;
                     p = html.find("width = \"35%\">", p + 1))
                    ++htmlRows;
                EXPECT_EQ(rows, htmlRows) << name << " " << box.TypeText();
            });
        }
        EXPECT_TRUE(!compared.count(name) || at == lines.size()) << name;
    }
    EXPECT_EQ(RunCorvel("json /nonexistent/file").status, 2);
}

TEST(CorvelPage, WritesThePageOfABoxPath) {
    TempFolder dir("corvel_page_cli");
    const std::string file = CorpusPath("avc_aac.mov");
    const std::string out = dir / "stsz.html";
    auto page = [&](const std::string& path) { return RunCorvel("page " + file + " '" + path + "' -o " + out); };

    CliRun r = page("moov/trak[1]/mdia/minf/stbl/stsz");
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string html = ReadText(out);
    EXPECT_NE(html.find("<b>Sample Size Boxes</b>"), std::string::npos);
    // The icon is the one beside the executable; the sub-page folder lies beside OUT.
    const std::string icon = (std::filesystem::path(CORVEL_EXE).parent_path() / "Img/icon_right.png").string();
    EXPECT_NE(html.find("<img src = \"" + icon + "\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "stsz_sub"));

    // Paths naming no box: exit 2 and what the last level that matched holds.
    const std::pair<const char*, const char*> bad[] = {
        {"moov/trak/mdia/minf/dinf/dref/url", "bad box path element 'url'"},  // "url " needs its blank
        {"moov/trak[2]", "no box 'trak[2]' in moov; there are: 'mvhd', 'trak'[0], 'trak'[1]"},
        {"nope", "no box 'nope' at the top level; there are: 'ftyp', 'wide', 'mdat', 'moov'"}};
    for (const auto& [path, message] : bad) {
        r = page(path);
        EXPECT_EQ(r.status, 2) << path;
        EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    }
}
