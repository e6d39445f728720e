#include <gtest/gtest.h>

#include "support/box_builder.h"
#include "support/cli_run.h"
#include "support/corpus.h"

TEST(SubpageCommand, WritesTheSubPageOfEachKindOfList) {
    const std::string out = TempDir() + "/cli_subpage.html";
    const std::string file = CorpusPath("frag_default_base_moof.mp4");

    // A traf: its moof is the parent, its mdat the one that follows.
    CliRun run = RunCorvel("subpage " + file + " moof[1]/traf 0 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadText(out).find("fncOnClick(267, 7331)"), std::string::npos);  // ffprobe: size 267 at 7331

    // An stbl (a table box: CorvelConventions).
    run = RunCorvel("subpage " + CorpusPath("avc_aac_bframes.mp4") + " moov/trak[1]/mdia/minf/stbl 0 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadText(out).find("fncOnClick(267, 48)"), std::string::npos);
}

// The conventions scripts rely on: pages on standard output equal to the files -o
// writes, "corvel: FILE: reason" with exit status 2 for what cannot be done, help and
// the version on every command.
TEST(CorvelConventions, OutputErrorsAndHelp) {
    const std::string file = CorpusPath("avc_aac_bframes.mp4");
    // Standard output is the page as -o page.html writes it, its select linking into
    // page_sub/; a table box's sub page lists its entries.
    const std::string out = TempDir() + "/page.html";
    const std::pair<std::string, std::string> pages[] = {
        {"page " + file + " moov/trak/mdia/minf/stbl/stsz", "value = \"page_sub/0.html\""},
        {"subpage " + file + " moov/trak/mdia/minf/stbl/stsz 0", ">Sample size</td>"}};
    for (const auto& [command, holds] : pages) {
        const CliRun onStdout = RunCorvel(command);
        ASSERT_EQ(RunCorvel(command + " -o " + out).status, 0);
        EXPECT_EQ(onStdout.status, 0);
        EXPECT_EQ(onStdout.out, ReadText(out)) << command;
        EXPECT_NE(onStdout.out.find(holds), std::string::npos) << command;
    }

    const std::string dir = TempDir();
    const std::string stsz = " moov/trak/mdia/minf/stbl/stsz";
    const struct {
        std::string args, err;
    } errors[] = {
        {"tree " + dir + "/missing.mp4", "corvel: " + dir + "/missing.mp4: No such file or directory\n"},
        {"json " + dir, "corvel: " + dir + ": Is a directory\n"},
        {"page " + file + " moov/zzzz",
         "corvel: " + file + ": no box 'zzzz' in moov; there are: 'mvhd', 'trak'[0], 'trak'[1], 'udta'\n"},
        {"subpage " + file + stsz + " 7", "corvel: " + file + ":" + stsz + " has no sub page 7 (it has 1)\n"},
        {"subpage " + file + " moov/mvhd 0",
         "corvel: " + file +
             ": moov/mvhd has no sub pages (a table box, stbl, traf, an mdat of FLV tags or a box with a table of "
             "more than 200 rows has)\n"},
        {"subpage " + file + stsz + " -1", "corvel: unknown option '-1'\nusage: corvel subpage FILE BOXPATH K [-o OUT] [--init INIT]\n"},
        {"subpage " + file + stsz + " 4294967296",
         "corvel: bad page number '4294967296': decimal digits from 0\nusage: corvel subpage FILE BOXPATH K [-o OUT] [--init INIT]\n"},
        {"tree " + file + " --depth x", "corvel: bad depth 'x': decimal digits from 0\nusage: corvel tree FILE [--depth N] [--json]\n"},
    };
    for (const auto& e : errors) {
        const CliRun run = RunCorvel(e.args);
        EXPECT_EQ(run.status, 2) << e.args;
        EXPECT_EQ(run.err, e.err) << e.args;
        EXPECT_EQ(run.out, "") << e.args;
    }

    for (const char* command : {"tree", "page", "subpage", "json", "samples"}) {
        const CliRun help = RunCorvel(std::string(command) + " --help");
        EXPECT_EQ(help.status, 0);
        EXPECT_EQ(help.out.rfind(std::string("usage: corvel ") + command, 0), 0u) << help.out;
        EXPECT_EQ(RunCorvel(std::string(command) + " -h").out, help.out);
        EXPECT_EQ(RunCorvel(std::string(command) + " --version").out, "corvel " TESSALY_VERSION "\n");
    }
}

// A paged table's rows come after a box's other sub pages (a tfra has none): 450 entries
// make pages 0 to 2, of 200, 200 and 50 rows.
TEST(SubpageCommand, WritesThePagesOfALongTable) {
    std::string entries;
    for (uint32_t i = 0; i < 450; ++i) entries += U32(1000 * i) + U32(5000 + i) + U8(1) + U8(1) + U8(1);
    const std::string file = WriteTempFile(
        "cli_long_tfra.mp4", Box("ftyp", "isom" + U32(0) + "isom") +
                                 Box("mfra", FullBox("tfra", 0, 0, U32(1) + U32(0) + U32(450) + entries)));
    const auto rows = [](const std::string& html) {
        size_t n = 0;
        for (size_t at = 0; (at = html.find("<tr>", at)) != std::string::npos; ++at) ++n;
        return n - 3;  // the title and header rows, the gap after the table
    };
    CliRun run = RunCorvel("page " + file + " mfra/tfra");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(">Entries(401~450)</option>"), std::string::npos);
    EXPECT_EQ(run.out.find(">199000</td>"), std::string::npos);
    run = RunCorvel("subpage " + file + " mfra/tfra 0");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(rows(run.out), 200u);
    EXPECT_NE(run.out.find(">199000</td>"), std::string::npos);
    run = RunCorvel("subpage " + file + " mfra/tfra 2");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(rows(run.out), 50u);
    EXPECT_NE(run.out.find(">449000</td>"), std::string::npos);
    EXPECT_EQ(RunCorvel("subpage " + file + " mfra/tfra 3").err,
              "corvel: " + file + ": mfra/tfra has no sub page 3 (it has 3)\n");
    // The JSON document keeps every row.
    run = RunCorvel("json " + file);
    EXPECT_NE(run.out.find("[\"449000\", \"5449\""), std::string::npos);
}
