// corvel tree as scripts call it: output lines, exit status, messages.
#include <gtest/gtest.h>

#include "support/box_builder.h"
#include "support/cli_run.h"
#include "support/corpus.h"

TEST(CorvelTree, PrintsTheTreeAndReportsFailures) {
    CliRun ok = RunCorvel("tree " + CorpusPath("avc_aac_bframes.mp4"));
    EXPECT_EQ(ok.status, 0);
    EXPECT_EQ(ok.out.substr(0, 56), "ftyp 0 32\nfree 32 8\nmdat 40 18771\nmoov 18811 2332\n  mvhd");
    EXPECT_NE(ok.out.find("\n        stbl 19212 937\n          stsd 19220 193\n"), std::string::npos);

    // Control bytes in a code print as '.', bytes from 0x80 on as Mac Roman (0xFF: U+02C7);
    // a failed walk keeps its partial tree: exit 1.
    std::string odd = WriteTempFile("odd.mp4", Box("free", "") + Box(std::string("a\x01\xff", 3) + "b", "") +
                                                   Box("moov", Box("trak", Box("mdia", Box("minf", "x")))));
    CliRun failed = RunCorvel("tree " + odd);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "free 0 8\na.\xCB\x87" "b 8 8\nmoov 16 33\n  trak 24 25\n    mdia 32 17\n");
    EXPECT_EQ(failed.err, "Did not perform as expected.\n");
    // A top-level box too small for its own header makes no box (the streamed walk once
    // marked a box that was not there).
    CliRun shortBox = RunCorvel("tree " + WriteTempFile("short.mp4", Box("free", "") + std::string("\0\0\0\4junk", 8)));
    EXPECT_EQ(shortBox.status, 1);
    EXPECT_EQ(shortBox.out, "free 0 8\n");

    // A file cut short: the boxes it ends inside say so, and so does the exit status.
    CliRun cut = RunCorvel("tree " + CorpusPath("truncated_mdat.mp4"));
    EXPECT_EQ(cut.status, 1);
    EXPECT_NE(cut.out.find("\nmdat 2372 18771 truncated: 9385 of 18771 bytes present\n"), std::string::npos);
    EXPECT_EQ(cut.err, "corvel: " + CorpusPath("truncated_mdat.mp4") +
                           ": the file ends inside the mdat box at 2372 (9385 of 18771 bytes present)\n");
    // Not a media file at all: said so, no tree.
    CliRun flv = RunCorvel("tree " + CorpusPath("flv_ffmpeg.flv"));
    EXPECT_EQ(flv.status, 1);
    EXPECT_EQ(flv.out, "");
    EXPECT_EQ(flv.err, "corvel: " + CorpusPath("flv_ffmpeg.flv") +
                           ": not an ISO base media file (first box: size 1179407873, type \\x05\\x00\\x00\\x00)\n");

    // No file, an unknown command: exit 2; the version without a command.
    EXPECT_EQ(RunCorvel("tree").status, 2);
    EXPECT_EQ(RunCorvel("frobnicate x").status, 2);
    EXPECT_EQ(RunCorvel("--version").out, std::string("corvel ") + TESSALY_VERSION + "\n");
}

// --depth keeps the lines of the top levels; --json says the same tree, every box of
// every corpus file with its offset and size in the order the lines give them.
TEST(CorvelTree, DepthAndJson) {
    const std::string file = CorpusPath("avc_aac_bframes.mp4");
    std::string shallow;
    const std::string full = RunCorvel("tree " + file).out;
    for (size_t start = 0, end; (end = full.find('\n', start)) != std::string::npos; start = end + 1)
        if (full.compare(start, 4, "    ") != 0) shallow += full.substr(start, end + 1 - start);
    EXPECT_EQ(RunCorvel("tree --depth 1 " + file).out, shallow);

    // Python turns the JSON back into lines; a file with codes that are not text is left out.
    const std::string script =
        "import json,sys\n"
        "def walk(b, d):\n"
        "    print('  ' * d + b['type'], b['offset'], b['size'])\n"
        "    for c in b['children']: walk(c, d + 1)\n"
        "for b in json.load(sys.stdin)['boxes']: walk(b, 0)\n";
    const std::string scriptPath = WriteTempFile("tree_lines.py", script);
    for (const std::string& name : CorpusFiles()) {
        const std::string path = CorpusPath(name);
        const std::string lines = RunCorvel("tree " + path).out;
        if (lines.find("truncated") != std::string::npos || lines.find("incomplete") != std::string::npos ||
            lines.find('.') != std::string::npos)
            continue;
        const CliRun json = RunCorvel("tree --json " + path + " | python3 " + scriptPath);
        EXPECT_EQ(json.out, lines) << name;
    }
}

// Apple's codes start with the byte 0xA9, the (c) sign in Mac Roman: the tree, its JSON
// and corvel json print it so (MediaInfo prints the same name), and a box path takes the
// code as printed or as its bytes.
TEST(CorvelTree, AppleCodesAsPrinted) {
    const std::string file = CorpusPath("pub_go-mp4_sample_qt.mp4");
    const std::string tree = RunCorvel("tree " + file).out;
    EXPECT_NE(tree.find("\n    \xC2\xA9" "enc 340333 "), std::string::npos) << tree;
    // MediaInfo names the box at its type's offset, 340337 in hex.
    EXPECT_NE(ReadText(CorpusRef("pub_go-mp4_sample_qt.mp4", "mediainfo.txt"))
                  .find("\n53171     Name:                               \xC2\xA9" "enc"),
              std::string::npos);
    EXPECT_NE(RunCorvel("tree --json " + file).out.find("{\"type\": \"\xC2\xA9" "enc\", \"offset\": 340333"),
              std::string::npos);
    EXPECT_NE(RunCorvel("json " + file).out.find("\"type\": \"\xC2\xA9" "enc\""), std::string::npos);
    for (const std::string path : {"moov/udta/\xC2\xA9" "enc", "moov/udta/\xA9" "enc"}) {
        const CliRun page = RunCorvel("page " + file + " '" + path + "'");
        EXPECT_EQ(page.status, 0) << page.err;
        EXPECT_NE(page.out.find("\xC2\xA9" "enc (0XA9656E63)"), std::string::npos);
    }
    // A character Mac Roman has no byte for makes no code.
    EXPECT_EQ(RunCorvel("page " + file + " 'moov/udta/\xE4\xB8\xAD" "enc'").status, 2);
}
