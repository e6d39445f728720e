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
    std::string html = ReadText(out);
    EXPECT_NE(html.find(">Trun offset</td>"), std::string::npos);
    EXPECT_NE(html.find("fncOnClick(267, 7331)"), std::string::npos);  // ffprobe: size 267 at 7331

    // An stbl, then a table box; a page past the list has the header rows only.
    run = RunCorvel("subpage " + CorpusPath("avc_aac_bframes.mp4") + " moov/trak[1]/mdia/minf/stbl 0 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(ReadText(out).find("fncOnClick(267, 48)"), std::string::npos);
    run = RunCorvel("subpage " + CorpusPath("avc_aac_bframes.mp4") + " moov/trak/mdia/minf/stbl/stsz 7 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    html = ReadText(out);
    EXPECT_NE(html.find(">Sample size</td>\r\n</tr>\r\n</body>"), std::string::npos);

    // Errors: no list, a bad page number, a path naming no box.
    run = RunCorvel("subpage " + file + " moof/mfhd 0 -o " + out);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("has no sub pages"), std::string::npos);
    EXPECT_EQ(RunCorvel("subpage " + file + " moof/traf -1 -o " + out).status, 2);
    EXPECT_EQ(RunCorvel("subpage " + file + " moof/traf 4294967296 -o " + out).status, 2);
    run = RunCorvel("subpage " + file + " moof/zzzz 0 -o " + out);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("no box 'zzzz'"), std::string::npos);
}
