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

    // The 64-bit size where the size field is 1.
    CliRun large = RunCorvel("tree " + CorpusPath("largesize_mdat.mp4"));
    EXPECT_EQ(large.status, 0);
    EXPECT_NE(large.out.find("mdat 32 18779\n"), std::string::npos);

    // Odd bytes in a code print as '.', a failed walk keeps its partial tree: exit 1.
    std::string odd = WriteTempFile("odd.mp4", Box(std::string("a\x01\xff", 3) + "b", "") +
                                                   Box("moov", Box("trak", Box("mdia", Box("minf", "x")))));
    CliRun failed = RunCorvel("tree " + odd);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "a..b 0 8\nmoov 8 33\n  trak 16 25\n    mdia 24 17\n");
    EXPECT_EQ(failed.err, "Did not perform as expected.\n");

    CliRun missing = RunCorvel("tree " + TempDir() + "/nope.mp4");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("nope.mp4: No such file or directory"), std::string::npos);

    EXPECT_EQ(RunCorvel("tree").status, 2);
    EXPECT_EQ(RunCorvel("frobnicate x").status, 2);
    CliRun version = RunCorvel("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("corvel ") + TESSALY_VERSION + "\n");
}
