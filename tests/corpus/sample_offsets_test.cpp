// The samples the engine walks against the packets ffprobe reads from the same corpus
// file (ref/NAME.packets.csv): position, size, the steps of the decode times, key frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "boxes/presentation/movie_header_boxes.h"
#include "corpus/corpus_refs.h"
#include "samples/file_samples.h"
#include "samples/sample_context.h"

namespace {
// The engine's samples by stream: stream i is the (i+1)-th trak of the first moov,
// its fragments matched by track id.
std::map<int, std::vector<Packet>> EngineSamples(const CorpusFile& f) {
    std::map<uint32_t, int> streamOfTrack;
    int stream = 0;
    for (const CBox* trak : f.Traks()) {
        auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Descend(trak, {"tkhd"}));
        streamOfTrack[tkhd ? tkhd->m_trackID : 0] = stream++;
    }
    std::map<int, std::vector<Packet>> samples;
    const SampleContext context(f.P());
    VisitSamples(context, nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        const int stream = streamOfTrack.count(o.trackId) ? streamOfTrack[o.trackId] : int(o.trackId) - 1;
        samples[stream].push_back({stream, 0, int64_t(r.decodeTime), 0, r.size, r.offset, r.sync != SampleRecord::Sync::No});
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

// Files with PCM tracks whose samples (a few bytes each) ffprobe reads a run at a time:
// such a track's samples cover the bytes its packets cover.
const std::set<std::string> kPcmRuns = {"modern_prores_tmcd.mov"};

// The bytes the packets cover, as ranges [first, end) joined where they touch.
std::vector<std::pair<uint64_t, uint64_t>> ByteRanges(std::vector<Packet> packets) {
    std::sort(packets.begin(), packets.end(), [](const Packet& a, const Packet& b) { return a.pos < b.pos; });
    std::vector<std::pair<uint64_t, uint64_t>> ranges;
    for (const Packet& p : packets) {
        if (!ranges.empty() && ranges.back().second == p.pos) ranges.back().second += p.size;
        else ranges.emplace_back(p.pos, p.pos + p.size);
    }
    return ranges;
}

// Progressive files (sample tables), fragmented ones (movie fragments, smooth.ismv
// included) and mixed ones alike.
TEST(CorpusSamples, MatchFfprobePackets) {
    int checked = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        std::map<int, std::vector<Packet>> packets;
        for (const Packet& p : PacketsCsv(name)) packets[p.stream].push_back(p);
        if (packets.empty() || kPacketsDiffer.count(name)) return;
        std::map<int, std::vector<Packet>> ours = EngineSamples(f);
        for (const auto& [stream, expected] : packets) {
            SCOPED_TRACE("stream " + std::to_string(stream));
            const std::vector<Packet>& got = ours[stream];
            if (kPcmRuns.count(name) && got.size() > expected.size()) {
                EXPECT_EQ(ByteRanges(got), ByteRanges(expected));
                continue;
            }
            ASSERT_EQ(got.size(), expected.size());
            for (size_t i = 0; i < got.size(); ++i) {
                SCOPED_TRACE("sample " + std::to_string(i + 1));
                ASSERT_EQ(std::tie(got[i].pos, got[i].size), std::tie(expected[i].pos, expected[i].size));
                // ffprobe shifts decode times by the edit list (and gives durations
                // adjusted to it): the steps between the decode times agree.
                if (expected[i].dts != kUnknown && expected[0].dts != kUnknown) {
                    ASSERT_EQ(got[i].dts - got[0].dts, expected[i].dts - expected[0].dts);
                }
                // A sync sample is a key frame; ffprobe also marks every sample of hint
                // tracks and a few at the end of some video tracks.
                ASSERT_TRUE(!got[i].key || expected[i].key);
            }
        }
        ++checked;
    });
    EXPECT_GE(checked, 42);
}
