// Every row of every box page of the corpus knows where its field lies: a row that
// shows a number reads back as that number from its span (big-endian, masked to its
// bits), a row of text as those bytes. This checks every field of every box the
// project decodes, now and for each box added later.
#include <gtest/gtest.h>

#include "corpus/corpus_refs.h"
#include "support/span_check.h"

TEST(CorpusSpans, EveryRowDecodesToItsValue) {
    SpanTally tally;
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        for (const std::string& e : SpanFaults(f.P(), ReadText(CorpusPath(name)), tally)) ADD_FAILURE() << e;
    }
    EXPECT_GT(tally.numbers, 16000);
    EXPECT_GT(tally.texts, 500);
}
