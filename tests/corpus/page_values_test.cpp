// Values the pages once showed wrong or in a form that hid them, on the corpus files
// that hold them, against the independent tools where they print the same value:
// 64-bit times, Apple's codes, QuickTime handler names and languages, codes shown as
// numbers, saiz default sizes, the esds SBR rows, and the first bytes of a file that
// is no media file.
#include <gtest/gtest.h>

#include <cinttypes>
#include <regex>
#include <set>

#include "base/span_map.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "corpus/corpus_refs.h"
#include "report/page_test_util.h"
#include "support/cli_run.h"

namespace {
// Calls visit(box, parent, page) for every box of the file, its page made with the spans
// of a parse of its top-level box.
template <class Visit>
void ForEachPage(const CorpusFile& f, Visit visit) {
    for (const CBox* top : f.Top()) {
        SpanMap spans;
        const std::unique_ptr<CBox> copy = f.P().Reparse(*top, spans);
        ASSERT_NE(copy, nullptr);
        std::vector<std::pair<const CBox*, const CBox*>> pending{{copy.get(), nullptr}};
        while (!pending.empty()) {
            auto [box, parent] = pending.back();
            pending.pop_back();
            visit(*box, parent, BuildBoxPage(*box, {parent, &f.P(), nullptr, &spans}));
            for (const auto& child : box->m_children)
                if (child) pending.emplace_back(child.get(), box);
        }
    }
}

}  // namespace

// ffmpeg writes the first time of a primed audio track below zero: as the unsigned
// 64-bit field it is, all of its bits show in hex (the low 32 once did).
TEST(CorpusPageValues, SixtyFourBitTimesShowAllTheirBits) {
    const CorpusFile f("smooth.ismv");
    ASSERT_EQ(f.status, 0);
    int64_t firstAudioDts = INT64_MIN;
    for (const Packet& p : PacketsCsv("smooth.ismv"))
        if (p.stream == 1 && firstAudioDts == INT64_MIN) firstAudioDts = p.dts;
    ASSERT_NE(firstAudioDts, INT64_MIN);
    std::vector<std::string> shown;
    ForEachPage(f, [&](const CBox& box, const CBox*, const PageModel& page) {
        if (dynamic_cast<const CTfxdBox*>(&box))
            shown.push_back(Value(page, "Fragment absolute time stamp"));
    });
    // The fragments alternate, video first; the first audio one starts one AAC frame
    // (1024 samples at 22050 Hz, in 1/10000000 s) before ffprobe's first audio packet.
    ASSERT_EQ(shown.size(), 4u);
    const uint64_t time = uint64_t(firstAudioDts - 464399);
    EXPECT_GT(time, uint64_t{UINT32_MAX});
    EXPECT_EQ(shown[1], Format("%" PRIu64 " (0X%" PRIX64 ")", time, time));
    EXPECT_EQ(shown[1], "18446744073709087217 (0XFFFFFFFFFFF8E9F1)");
}

