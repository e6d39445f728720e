// The samples the engine walks against the packets ffprobe reads from the same corpus
// file (ref/NAME.packets.csv): position, size, the steps of the decode times, key frames.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <regex>
#include <set>

#include "boxes/containers/corvel.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "samples/file_samples.h"
#include "samples/sample_context.h"
#include "support/corpus.h"

namespace {
struct Sample {
    int64_t dts;
    uint64_t size, offset;
    bool key;
};
constexpr int64_t kUnknown = INT64_MIN;
using Samples = std::vector<Sample>;

// ffprobe's packets by stream index: "stream,pts,dts,duration,size,pos,flags"; a packet
// without size or position (N/A) is left out, a decode time N/A is unknown.
std::map<int, Samples> Packets(const std::string& csv) {
    static const std::regex packet(R"((?:^|\n)(\d+),[^,\n]*,([^,\n]*),[^,\n]*,(\d+),(\d+),([^,\n]*))");
    std::map<int, Samples> packets;
    for (std::sregex_iterator it(csv.begin(), csv.end(), packet), stop; it != stop; ++it) {
        const std::smatch& m = *it;
        const int64_t dts = m[2] == "N/A" ? kUnknown : std::stoll(m[2]);
        packets[std::stoi(m[1])].push_back(
            {dts, std::stoull(m[3]), std::stoull(m[4]), m[5].str().find('K') != std::string::npos});
    }
    return packets;
}

// The engine's samples by stream: stream i is the (i+1)-th trak of the first moov,
// its fragments matched by track id.
std::map<int, Samples> EngineSamples(const CCorvel& p) {
    std::map<uint32_t, int> streamOfTrack;
    for (size_t i = 0; i < p.GetBoxCount() && streamOfTrack.empty(); ++i) {
        if (p.GetBox(i)->m_type != FourCC("moov")) continue;
        int stream = 0;
        for (const auto& trak : p.GetBox(i)->m_children) {
            if (trak->m_type != FourCC("trak")) continue;
            auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(trak->RetrieveChildBox(FourCC("tkhd"), true));
            streamOfTrack[tkhd ? tkhd->m_trackID : 0] = stream++;
        }
    }
    std::map<int, Samples> samples;
    const SampleContext context(p);
    VisitSamples(context, nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        const int stream = streamOfTrack.count(o.trackId) ? streamOfTrack[o.trackId] : int(o.trackId) - 1;
        samples[stream].push_back({int64_t(r.decodeTime), r.size, r.offset, r.sync != SampleRecord::Sync::No});
        return true;
    });
    return samples;
}
}  // namespace

// Files where ffprobe's packets are not the file's samples: it skips empty text
// samples (avc_movtext), merges PCM samples of a chunk (go-mp4 qt), adds cover art
// as a packet or repeats one (big_buck_bunny, mp4parse metadata, test-pod), reads
// images as items (avif), stops at the end of a cut file (truncated_mdat), or
// reads no MP4 at all (flv).
const std::set<std::string> kPacketsDiffer = {
    "avc_movtext.mp4", "flv_ffmpeg.flv", "pub_go-mp4_sample_qt.mp4", "pub_mp4-rust_big_buck_bunny_metadata.m4v",
    "pub_mp4parse-rust_bug-1655846.avif", "pub_mp4parse-rust_metadata.mp4", "pub_mp4parse-rust_valid-alpha.avif",
    "pub_mp4parse-rust_valid.avif", "pub_mp4parser_test-pod.m4a", "truncated_mdat.mp4"};

// Progressive files (sample tables), fragmented ones (movie fragments, smooth.ismv
// included) and mixed ones alike.
TEST(CorpusSamples, MatchFfprobePackets) {
    int checked = 0;
    for (const std::string& name : CorpusFiles()) {
        const std::map<int, Samples> packets = Packets(ReadText(CorpusRef(name, "packets.csv")));
        if (packets.empty() || kPacketsDiffer.count(name)) continue;
        SCOPED_TRACE(name);
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        std::map<int, Samples> ours = EngineSamples(*lib.Parser());
        for (const auto& [stream, expected] : packets) {
            SCOPED_TRACE("stream " + std::to_string(stream));
            const Samples& got = ours[stream];
            ASSERT_EQ(got.size(), expected.size());
            for (size_t i = 0; i < got.size(); ++i) {
                SCOPED_TRACE("sample " + std::to_string(i + 1));
                ASSERT_EQ(got[i].offset, expected[i].offset);
                ASSERT_EQ(got[i].size, expected[i].size);
                // ffprobe shifts decode times by the edit list (and gives durations
                // adjusted to it): the steps between the decode times agree.
                if (expected[i].dts != kUnknown && expected[0].dts != kUnknown) {
                    ASSERT_EQ(got[i].dts - got[0].dts, expected[i].dts - expected[0].dts);
                }
                // A sync sample is a key frame; ffprobe also marks every sample of hint
                // tracks and a few at the end of some video tracks.
                if (got[i].key) {
                    ASSERT_TRUE(expected[i].key);
                }
            }
        }
        ++checked;
    }
    EXPECT_GE(checked, 40);
}
