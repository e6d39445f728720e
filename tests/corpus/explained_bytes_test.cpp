// How much of each corpus file its pages explain. Every byte of every box is accounted
// for: by a decoded row, a child box, or a row of its "Undecoded bytes" list. The files
// made only of box kinds the engine decodes field by field are held to 99.5 % of their
// non-media bytes explained by decoded rows; the others (today's codecs, encryption,
// images, QuickTime extras) are reported.
#include <gtest/gtest.h>

#include <cstdio>

#include "corpus/corpus_refs.h"
#include "corpus/fully_decoded.h"
#include "support/cli_run.h"
#include "support/coverage_tally.h"

TEST(CorpusExplainedBytes, EveryByteIsExplainedOrListedAsUndecoded) {
    std::printf("%-48s %10s %8s  %s\n", "file", "bytes", "decoded", "undecoded bytes by box type");
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        const CoverageTally tally = TallyCoverage(f.P());
        std::printf("%-48s %10llu %7.2f%%  %s\n", name.c_str(), static_cast<unsigned long long>(tally.bytes),
                    tally.Share(), tally.UndecodedText().c_str());
        for (const std::string& box : tally.hidden) ADD_FAILURE() << "bytes neither decoded nor listed: " << box;
        if (DecodesEveryKind(name)) {
            EXPECT_GE(tally.Share(), 99.5) << tally.UndecodedText();
        }
    }
}

// What `corvel json` says of undecoded bytes: a box of a kind the engine does not know
// lists its whole payload (no child guessed inside it), padding and media data nothing.
TEST(CorpusExplainedBytes, CorvelJsonListsWhatNoRowExplains) {
    const CliRun cea608 = RunCorvel("json " + CorpusPath("pub_shaka_cea608-track-init.mp4"));
    ASSERT_EQ(cea608.status, 0);
    // udta/swre at 1039, 78 bytes: an encoder's text, not a box kind of the engine.
    EXPECT_NE(cea608.out.find(R"({"type": "swre", "offset": 1039, "size": 78, "undecoded": [[1047, 70]])"),
              std::string::npos);
    const CliRun smooth = RunCorvel("json " + CorpusPath("smooth.ismv"));
    ASSERT_EQ(smooth.status, 0);
    // The free boxes inside each traf are padding, the mdat boxes hold the samples.
    for (const char* type : {R"({"type": "free")", R"({"type": "mdat")"})
        for (size_t at = smooth.out.find(type); at != std::string::npos; at = smooth.out.find(type, at + 1)) {
            const std::string head = smooth.out.substr(at, smooth.out.find("\"title\"", at) - at);
            EXPECT_EQ(head.find("undecoded"), std::string::npos) << head;
        }
}
