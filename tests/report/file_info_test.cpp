// corvel info's facts against ffprobe's streams over the whole corpus, and the command's
// two outputs on one file.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "corpus/corpus_refs.h"
#include "report/file_info.h"
#include "support/cli_run.h"

namespace {
// ffprobe's codec names and the codec strings that carry them.
bool SameCodec(const std::string& ffprobe, const std::string& ours) {
    static const std::map<std::string, std::vector<std::string>> kPrefixes = {
        {"h264", {"avc1.", "avc3."}}, {"hevc", {"hvc1.", "hev1."}}, {"aac", {"mp4a.40."}}, {"av1", {"av01"}},
        {"vp9", {"vp09"}},  {"opus", {"opus"}}, {"flac", {"fLaC"}}, {"ac3", {"ac-3"}},
        {"eac3", {"ec-3"}}, {"alac", {"alac"}}, {"mpeg4", {"mp4v.20"}}, {"mp3", {"mp4a.6B", "mp4a.69", ".mp3"}}};
    const auto it = kPrefixes.find(ffprobe);
    if (it == kPrefixes.end()) return true;  // a codec no manifest names: nothing to compare
    for (const std::string& prefix : it->second)
        if (ours.starts_with(prefix)) return true;
    return false;
}
}  // namespace

// Every stream ffprobe finds in a track of the file: the codec, its parameters and the
// duration (to one sample). ffprobe counts a duration from the stream's start time in some
// files and from 0 in others (an empty edit first); ours is where the presentation ends,
// which is one of the two.
TEST(FileInfo, AgreesWithFfprobe) {
    std::map<std::string, int> tally;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        if (!std::filesystem::exists(CorpusRef(name, "ffprobe.json"))) return;
        // A header without its media: ffprobe's durations are its edits' start times.
        if (name == "pub_mp4parse-rust_bipbop_nonfragment_header.mp4") return;
        const FileInfo info = ReadFileInfo(f.P());
        for (const auto& [id, s] : FfprobeStreams(name)) {
            const auto t = std::find_if(info.tracks.begin(), info.tracks.end(),
                                        [&](const TrackInfo& track) { return track.id == id; });
            // Streams of no track: an image's items, a damaged track header, chapters.
            if (t == info.tracks.end()) continue;
            SCOPED_TRACE("track " + std::to_string(id) + " " + t->codec);
            auto same = [&](const char* key, uint64_t ours) {
                if (!s.count(key)) return;
                EXPECT_EQ(s.at(key), std::to_string(ours)) << key;
                ++tally[key];
            };
            if (s.count("codec_name")) {
                EXPECT_TRUE(SameCodec(s.at("codec_name"), t->codec)) << s.at("codec_name");
                ++tally["codec"];
            }
            same("width", t->width);
            same("height", t->height);
            // ffprobe decodes cenc.mp4's encrypted AAC frames as they are and tells 30
            // channels; its configuration says 1.
            if (name != "cenc.mp4") same("channels", t->channels);
            same("sample_rate", t->sampleRate);
            if (s.count("duration") && t->samples) {
                const double theirs = std::stod(s.at("duration"));
                const double start = s.count("start_time") ? std::stod(s.at("start_time")) : 0;
                const double sample = double(t->duration) / t->samples / t->timescale + 0.0015;
                EXPECT_TRUE(std::abs(t->Seconds() - theirs) <= sample || std::abs(t->Seconds() - theirs - start) <= sample)
                    << t->Seconds() << " s; ffprobe " << theirs << " s from " << start;
                ++tally["duration"];
            }
        }
    });
    for (const char* key : {"codec", "width", "channels", "sample_rate", "duration"}) EXPECT_GT(tally[key], 20) << key;
}

TEST(FileInfo, Command) {
    const CliRun text = RunCorvel("info " + CorpusPath("modern_av1_opus.mp4"));
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("isom (minor version 512), compatible isom av01 iso2 mp41"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("not fragmented"), std::string::npos) << text.out;
    const CliRun json = RunCorvel("info --json " + CorpusPath("frag_prft.mp4"));
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("\"fragments\": 1,"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("{\"id\": 2, \"handler\": \"soun\", \"codec\": \"mp4a.40.2\", \"channels\": 1, "
                            "\"sample_rate\": 22050, \"timescale\": 22050, \"duration\": 2.046, \"samples\": 45,"),
              std::string::npos)
        << json.out;
    // The timecode track's start, as ffprobe tells it in its timecode tag.
    const CliRun timecode = RunCorvel("info --json " + CorpusPath("modern_prores_tmcd.mov"));
    EXPECT_NE(timecode.out.find("\"handler\": \"tmcd\", \"codec\": \"tmcd\""), std::string::npos) << timecode.out;
    EXPECT_NE(timecode.out.find("\"timecode\": \"10:00:00:00\"}"), std::string::npos) << timecode.out;
    // And its one sample on the sample list.
    const CliRun samples = RunCorvel("samples " + CorpusPath("modern_prores_tmcd.mov"));
    EXPECT_NE(samples.out.find("\n3,0,0,0,12288,4,36,1,10:00:00:00\n"), std::string::npos) << samples.out.substr(0, 200);
    // Chapters follow the tracks (their values: QuickTimeMetadata.ChaptersEqualFfprobeAndMediaInfo).
    const CliRun chapters = RunCorvel("info " + CorpusPath("avc_chapters.mp4"));
    EXPECT_NE(chapters.out.find("  chapters  2 (from chpl)\n    0.000 s  Chapter One\n"), std::string::npos) << chapters.out;
    // A plain FLV file is no ISO base media file: refused as an unreadable one.
    EXPECT_EQ(RunCorvel("info " + CorpusPath("flv_ffmpeg.flv")).status, 2);
}
