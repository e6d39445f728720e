// QuickTime sound descriptions: hostile waves and chans made from the corpus's QuickTime
// AAC track (avc_aac.mov: moov after mdat, so no chunk offset moves).
#include <gtest/gtest.h>

#include <cstring>

#include "boxes/sampleentry/channel_layout_box.h"
#include "boxes/sampleentry/entry_builder.h"
#include "boxes/sampleentry/sound_wave_boxes.h"
#include "corpus/corpus_refs.h"
#include "report/page_test_util.h"
#include "samples/sample_context.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
// The boxes from the top down to the first box of `type` (the last one), empty when none.
bool PathTo(const CBox& box, uint32_t type, std::vector<const CBox*>& path) {
    path.push_back(&box);
    if (box.m_type == type) return true;
    for (const auto& child : box.m_children)
        if (child && PathTo(*child, type, path)) return true;
    path.pop_back();
    return false;
}

void PutU32(std::string& bytes, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(v >> (24 - 8 * i));
}

// avc_aac.mov with its first box of `type` replaced by `replacement`, the sizes of the
// boxes around it grown to match.
std::string ReplacedInMov(uint32_t type, const std::string& replacement) {
    const std::string name = "avc_aac.mov";
    std::string bytes = ReadText(CorpusPath(name));
    const CorpusFile f(name);
    std::vector<const CBox*> path;
    for (const CBox* top : f.Top())
        if (PathTo(*top, type, path)) break;
    EXPECT_FALSE(path.empty());
    if (path.empty()) return bytes;
    const CBox& box = *path.back();
    const int64_t delta = int64_t(replacement.size()) - int64_t(box.BoxSize());
    for (size_t i = 0; i + 1 < path.size(); ++i)
        PutU32(bytes, path[i]->m_startOffset, uint32_t(path[i]->BoxSize() + delta));
    bytes.replace(box.m_startOffset, box.BoxSize(), replacement);
    return bytes;
}

const std::string kTerminator = U32(8) + std::string(4, '\0');
}  // namespace

// A wave holding a wave, 200 deep: the nesting stops at the child loop's bound, the
// walk fails cleanly, and no box lies deeper than the bound.
TEST(QuickTimeSound, HostileWaveNestedInItself) {
    std::string wave = Box("frma", "mp4a") + kTerminator;
    for (int level = 0; level < 200; ++level) wave = Box("wave", wave);
    const CorpusFile f(WriteTempFile("nested_wave.mov", ReplacedInMov(FourCC("wave"), wave)));
    ASSERT_TRUE(f.Opened());
    EXPECT_EQ(f.status, -1);
    const auto waves = f.All<CSoundWaveBox>();
    EXPECT_GT(waves.size(), 10u);
    EXPECT_LT(waves.size(), 80u);
}

// A chan whose description count runs past its bytes: the chan fails, and with it the
// walk; no room is made for the descriptions the bytes do not hold.
TEST(QuickTimeSound, HostileChannelDescriptionCountPastItsBytes) {
    std::string bytes = ReadText(CorpusPath("avc_aac.mov"));
    const size_t at = bytes.find("chan");
    ASSERT_NE(at, std::string::npos);
    PutU32(bytes, at + 4 + 4 + 8, 0xFFFFFFFF);  // after the version and flags, the tag and the bitmap
    const CorpusFile f(WriteTempFile("hostile_chan.mov", bytes));
    ASSERT_TRUE(f.Opened());
    EXPECT_EQ(f.status, -1);
    const auto chan = f.All<CChannelLayoutBox>();
    ASSERT_EQ(chan.size(), 1u);
    EXPECT_EQ(chan[0]->m_descriptionCount, 0xFFFFFFFFu);
    EXPECT_EQ(chan[0]->m_descriptions.capacity(), 0u);
}
