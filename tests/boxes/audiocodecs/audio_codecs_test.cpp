// A hostile audio configuration made from a corpus file; the fields of those the corpus
// holds are checked there (MediaInfo, ffprobe, spans).
#include <gtest/gtest.h>

#include "boxes/audiocodecs/flac_config_box.h"
#include "corpus/corpus_refs.h"
#include "support/parse_file.h"

// A dfLa block whose length runs past the box: the dfLa fails, and with it its entry,
// without a byte read past the box; the blocks before it stay.
TEST(AudioCodecs, HostileFlacBlockLengthPastItsBox) {
    std::string bytes = ReadText(CorpusPath("modern_h264_flac.mp4"));
    const size_t at = bytes.find("dfLa");
    ASSERT_NE(at, std::string::npos);
    bytes[at + 4 + 4 + 1] = '\x7F';  // the STREAMINFO length, after version and flags and the type byte
    const CorpusFile f(WriteTempFile("hostile_dfla.mp4", bytes));
    ASSERT_TRUE(f.Opened());
    EXPECT_EQ(f.status, -1);
    const auto dfLa = f.All<CFlacConfigBox>();
    ASSERT_EQ(dfLa.size(), 1u);
    EXPECT_FALSE(dfLa[0]->m_hasStreamInfo);
    EXPECT_LE(dfLa[0]->m_blocks.capacity(), 1u);
}
