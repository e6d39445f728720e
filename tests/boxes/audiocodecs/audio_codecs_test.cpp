// The audio codec configurations on hand-built bytes: the layouts the corpus lacks
// (an Opus mapping table, E-AC-3 with several and dependent substreams, FLAC blocks
// after STREAMINFO), read in full with their meanings; and a hostile dfLa. The fields
// of those the corpus holds are checked there (MediaInfo, ffprobe, spans).
#include <gtest/gtest.h>

#include "boxes/audiocodecs/eac3_config_box.h"
#include "boxes/audiocodecs/flac_config_box.h"
#include "boxes/sampleentry/entry_builder.h"
#include "corpus/corpus_refs.h"
#include "report/page_test_util.h"
#include "samples/sample_context.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
// A FLAC STREAMINFO: 4096-sample blocks, 48 kHz, 6 channels, 24 bits, 96000 samples.
const std::string kStreamInfo = U16(4096) + U16(4096) + U24(14) + U24(9000) +
                                U32((48000u << 12) | (5u << 9) | (23u << 4)) + U32(96000) + std::string(16, '\x5A');
// A metadata block header: last flag, type, length.
std::string BlockHeader(bool last, uint8_t type, uint32_t length) { return U8((last ? 0x80 : 0) | type) + U24(length); }

// Two independent substreams, 5.1 at 48 kHz then 2/0 with one dependent substream
// carrying Lrs/Rrs and LFE2 (chan_loc bits 1 and 8).
const std::string kDec3 = Box("dec3", U16((1536u << 3) | 1) +
                                          // fscod 0, bsid 16, reserved, asvc 0, bsmod 0, acmod 7, lfeon 1, num_dep_sub 0, reserved
                                          U8(0x20) + U8(0x0F) + U8(0x00) +
                                          // fscod 0, bsid 16, asvc 1, bsmod 4, acmod 2, lfeon 0, num_dep_sub 1, chan_loc
                                          U8(0x20) + U8(0xC4) + U8(0x02) + U8(0x81));

PageModel PageIn(const ParsedFile& file, uint32_t type) {
    std::vector<const CBox*> found;
    FindBoxes(*file.Top(0), type, found);
    EXPECT_EQ(found.size(), 1u);
    return found.empty() ? PageModel{} : PageOf(*found[0]);
}
}  // namespace

TEST(AudioCodecs, LayoutsTheCorpusLacksReadInFull) {
    const std::string dOps = Box("dOps", U8(0) + U8(6) + U16(312) + U32(44100) + U16(0xFF00) + U8(1) + U8(4) + U8(2) +
                                             std::string("\x00\x04\x01\x02\x03\x05", 6));
    const std::string dfLa = FullBox("dfLa", 0, 0,
                                     BlockHeader(false, 0, 34) + kStreamInfo + BlockHeader(false, 4, 8) + "vendor00" +
                                         BlockHeader(true, 1, 5) + std::string(5, '\0'));
    ExpectReadInFull({
        {"Opus with a mapping table", InStsd("soun", Audio("Opus", dOps))},
        {"E-AC-3 with dependent substreams", InStsd("soun", Audio("ec-3", kDec3))},
        {"FLAC with comment and padding", InStsd("soun", Audio("fLaC", dfLa))},
    });

    auto file = ParseFile("opus.mp4", InStsd("soun", Audio("Opus", dOps)));
    PageModel page = PageIn(*file, FourCC("dOps"));
    EXPECT_EQ(Value(page, "Output gain"), "-256 (0XFF00) -1.00 dB");
    EXPECT_EQ(Value(page, "Channel mapping family"), "1 (0X1) Vorbis channel order");
    EXPECT_EQ(Value(page, "Channel mapping"), "0x00 0x04 0x01 0x02 0x03 0x05");

    file = ParseFile("eac3.mp4", InStsd("soun", Audio("ec-3", kDec3)));
    page = PageIn(*file, FourCC("dec3"));
    EXPECT_EQ(page.tables.size(), 4u);  // header, the stream, two independent substreams
    EXPECT_EQ(Value(page, "Data rate"), "1536 (0X600) kbit/s");
    EXPECT_EQ(page.tables[2].rows[5].value.Plain(), "7 (0X7) 3/2");
    EXPECT_EQ(page.tables[3].rows[3].value.Plain(), "1 (0X1) yes");
    EXPECT_EQ(page.tables[3].rows[4].value.Plain(), "4 (0X4) dialogue");
    EXPECT_EQ(page.tables[3].rows.back().value.Plain(), "129 (0X81) Lrs/Rrs, LFE2");

    file = ParseFile("flac.mp4", InStsd("soun", Audio("fLaC", dfLa)));
    page = PageIn(*file, FourCC("dfLa"));
    ASSERT_EQ(page.tables.size(), 3u);  // header, the blocks, STREAMINFO
    EXPECT_EQ(Cells(page, 1, 1), (std::vector<std::string>{"0", "4 VORBIS_COMMENT", "8"}));
    EXPECT_EQ(Cells(page, 1, 2), (std::vector<std::string>{"1", "1 PADDING", "5"}));
    EXPECT_EQ(Value(page, "Sample rate"), "48000 (0XBB80) Hz");
    EXPECT_EQ(Value(page, "Channels"), "5 (0X5) 6 channels");
    EXPECT_EQ(Value(page, "Bits per sample"), "23 (0X17) 24 bits");
    EXPECT_EQ(Value(page, "Total samples"), "96000 (0X00017700)");
}

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
