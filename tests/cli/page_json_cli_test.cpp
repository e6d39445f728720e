#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "boxes/core/corvel.h"
#include "report/page_test_util.h"
#include "report/report_page.h"
#include "report/text.h"

namespace {
struct RunResult {
    int status = -1;
    std::string out;
};

// Runs a shell command and collects its stdout.
RunResult RunShell(const std::string& command) {
    RunResult result;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = ::pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

bool HavePython() { return RunShell("python3 -c 'print(1)' 2>/dev/null").out == "1\n"; }

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string FromHex(const std::string& hex) {
    std::string out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return out;
}

void ForEachBox(const CBox* parent, const CBox& box, const std::function<void(const CBox*, const CBox&)>& fn) {
    fn(parent, box);
    for (const auto& child : box.m_children)
        if (child) ForEachBox(&box, *child, fn);
}
}  // namespace

TEST(CorvelJson, EveryCorpusFileIsValidJson) {
    if (!HavePython()) GTEST_SKIP() << "python3 not available";
    // One JSON file per corpus file, then one parser run over all of them.
    TempFolder dir("corvel_json_all");
    std::vector<std::string> files;
    for (const std::string& name : CorpusFiles()) files.push_back(CorpusPath(name));
    for (size_t i = 0; i < files.size(); ++i)
        RunShell(std::string(CORVEL_EXE) + " json " + Quote(files[i]) + " > " + Quote(dir / std::to_string(i)) +
                 " 2>/dev/null");
    const RunResult r = RunShell(
        "cd " + Quote(dir.Path().string()) +
        " && python3 -c 'import json,sys\n"
        "for n in range(" + std::to_string(files.size()) + "):\n"
        "    try:\n"
        "        d=json.load(open(str(n), encoding=\"utf-8\"))\n"
        "        assert d[\"status\"] in (0,-1) and isinstance(d[\"boxes\"], list)\n"
        "        print(\"ok\")\n"
        "    except Exception as e: print(\"bad\", e)\n' 2>&1");
    size_t at = 0;
    for (const std::string& file : files) {
        const size_t end = r.out.find('\n', at);
        EXPECT_EQ(r.out.substr(at, end - at), "ok") << file;
        at = end == std::string::npos ? r.out.size() : end + 1;
    }
    EXPECT_EQ(RunShell(std::string(CORVEL_EXE) + " json /nonexistent/file 2>/dev/null").status, 2);
}

// The JSON of a file holds, box for box in tree order, the same title and rows
// as the HTML page of that box.
TEST(CorvelJson, MatchesTheHtmlPages) {
    if (!HavePython()) GTEST_SKIP() << "python3 not available";
    const std::string dump =
        "python3 -c '\n"
        "import json,sys\n"
        "h=lambda s: s.encode().hex() or \"-\"\n"
        "def walk(b):\n"
        "    print(\"B\", h(b[\"type\"]), h(b[\"title\"]))\n"
        "    for t in b[\"tables\"]:\n"
        "        for l,v in t.get(\"rows\", []): print(\"R\", h(l), h(v))\n"
        "    for c in b[\"children\"]: walk(c)\n"
        "for b in json.load(sys.stdin)[\"boxes\"]: walk(b)\n'";
    TempFolder dir("corvel_json_html");
    for (const char* name : {"avc_aac.mov", "smooth.ismv", "xmp_uuid.mp4", "largesize_mdat.mp4"}) {
        const std::string file = CorpusPath(name);
        const RunResult r = RunShell(std::string(CORVEL_EXE) + " json " + Quote(file) + " | " + dump);
        ASSERT_EQ(r.status, 0) << name;

        // Lines of the JSON dump, box by box.
        std::vector<std::vector<std::string>> lines;
        size_t start = 0;
        while (start < r.out.size()) {
            const size_t end = r.out.find('\n', start);
            std::string line = r.out.substr(start, end - start);
            start = end == std::string::npos ? r.out.size() : end + 1;
            std::vector<std::string> words;
            size_t p = 0;
            while (p <= line.size()) {
                const size_t q = std::min(line.find(' ', p), line.size());
                const std::string w = line.substr(p, q - p);
                words.push_back(w == "-" ? "" : w);
                p = q + 1;
            }
            lines.push_back(words);
        }

        CCorvelLib lib;
        ASSERT_EQ(lib.Init(file), 0);
        lib.Go();
        size_t at = 0, boxes = 0;
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) {
            ForEachBox(nullptr, *lib.Parser()->GetBox(i), [&](const CBox* parent, const CBox& box) {
                ++boxes;
                ReportPage page(dir / "page.html", "icon.png", "");
                RenderBoxPage(parent, page, box, lib.Parser());
                const std::string html = ReadText(dir / "page.html");
                ASSERT_LT(at, lines.size());
                ASSERT_EQ(lines[at][0], "B");
                EXPECT_EQ(FromHex(lines[at][1]), box.TypeText());
                const std::string title = FromHex(lines[at][2]);
                if (!title.empty()) {
                    EXPECT_NE(html.find("<b>" + title + "</b>"), std::string::npos) << title;
                }
                size_t rows = 0;
                for (++at; at < lines.size() && lines[at][0] == "R"; ++at, ++rows) {
                    // Fixed texts stand as they are, texts from the file escaped.
                    const std::string label = FromHex(lines[at][1]), value = FromHex(lines[at][2]);
                    const std::string row = ExpectedKeyValueRow(label, value);
                    const std::string escaped = ExpectedKeyValueRow(label, HtmlEscape(value));
                    EXPECT_TRUE(html.find(row) != std::string::npos || html.find(escaped) != std::string::npos)
                        << name << ": " << escaped;
                }
                size_t htmlRows = 0;
                for (size_t p = html.find("width = \"35%\">"); p != std::string::npos;
                     p = html.find("width = \"35%\">", p + 1))
                    ++htmlRows;
                EXPECT_EQ(rows, htmlRows) << name << " " << box.TypeText();
            });
        }
        EXPECT_EQ(at, lines.size()) << name;
        EXPECT_GT(boxes, 10u) << name;
    }
}

// Every box of every corpus file gets a whole page: head first, foot last.
TEST(CorvelPage, EveryBoxOfEveryCorpusFile) {
    TempFolder dir("corvel_all_pages");
    for (const std::string& name : CorpusFiles()) {
        const std::string file = CorpusPath(name);
        CCorvelLib lib;
        if (lib.Init(file) < 0) continue;
        lib.Go();
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) {
            ForEachBox(nullptr, *lib.Parser()->GetBox(i), [&](const CBox* parent, const CBox& box) {
                ReportPage page(dir / "page.html", "icon.png", "");  // no sub-page folder: faster
                RenderBoxPage(parent, page, box, lib.Parser());
                const std::string html = ReadText(dir / "page.html");
                EXPECT_EQ(html.rfind(kExpectedHead, 0), 0u) << file << " " << box.TypeText();
                EXPECT_EQ(html.substr(html.size() - kExpectedFoot.size()), kExpectedFoot);
            });
        }
    }
}

TEST(CorvelPage, WritesThePageOfABoxPath) {
    TempFolder dir("corvel_page_cli");
    const std::string exe = CORVEL_EXE;
    const std::string file = Quote(CorpusPath("avc_aac.mov"));
    const std::string out = dir / "stsz.html";

    RunResult r = RunShell(exe + " page " + file + " 'moov/trak[1]/mdia/minf/stbl/stsz' -o " + Quote(out) + " 2>&1");
    EXPECT_EQ(r.status, 0) << r.out;
    const std::string html = ReadText(out);
    EXPECT_EQ(html.rfind(kExpectedHead, 0), 0u);
    EXPECT_NE(html.find("<b>Sample Size Boxes</b>"), std::string::npos);
    EXPECT_NE(html.find(ExpectedKeyValueRow("Start offset", "20752 (0X00005110)")), std::string::npos);
    // The icon is the one beside the executable; the sub-page folder lies beside OUT.
    const std::string icon = (std::filesystem::path(exe).parent_path() / "Img/icon_right.png").string();
    EXPECT_NE(html.find("<img src = \"" + icon + "\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "stsz_sub"));

    // A code with a blank is written with it; without the blank it is no code.
    r = RunShell(exe + " page " + file + " 'moov/trak/mdia/minf/dinf/dref/url ' -o " + Quote(out) + " 2>&1");
    if (r.status == 0) {
        EXPECT_NE(ReadText(out).find("<b>Data Entry Url Box</b>"), std::string::npos);
    } else {
        EXPECT_NE(r.out.find("no box 'url ' in moov/trak/mdia/minf/dinf/dref"), std::string::npos) << r.out;
    }
    r = RunShell(exe + " page " + file + " 'moov/trak/mdia/minf/dinf/dref/url' -o " + Quote(out) + " 2>&1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("bad box path element 'url'"), std::string::npos) << r.out;

    // A path that names no box: exit 2 and the children of the last level that matched.
    r = RunShell(exe + " page " + file + " 'moov/trak[2]' -o " + Quote(out) + " 2>&1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("no box 'trak[2]' in moov; there are: 'mvhd', 'trak'[0], 'trak'[1]"), std::string::npos)
        << r.out;
    r = RunShell(exe + " page " + file + " 'moov/trak/mdia/minf/stbl/stsx' -o " + Quote(out) + " 2>&1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("in moov/trak/mdia/minf/stbl; there are: 'stsd', 'stts', 'stss'"), std::string::npos)
        << r.out;
    r = RunShell(exe + " page " + file + " 'zz' -o " + Quote(out) + " 2>&1");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.out.find("bad box path element 'zz'"), std::string::npos) << r.out;
    r = RunShell(exe + " page " + file + " 'nope' -o " + Quote(out) + " 2>&1");
    EXPECT_NE(r.out.find("no box 'nope' at the top level; there are: 'ftyp', 'wide', 'mdat', 'moov'"),
              std::string::npos)
        << r.out;
}
