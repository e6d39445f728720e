// Codec strings of the corpus's sample entries against the manifests of other tools
// and against values checked by hand from the configuration records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "corpus/corpus_refs.h"
#include "report/codec_string.h"

namespace {
// The codec strings of every sample entry of a corpus file, in tree order.
std::vector<std::string> CodecStrings(const std::string& name) {
    const CorpusFile f(name);
    std::vector<std::string> out;
    for (const CBox* stsd : f.All(FourCC("stsd")))
        for (const auto& entry : stsd->m_children) out.push_back(CodecString(*entry));
    return out;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}
}  // namespace

// The codecs attributes of `ffmpeg -i FILE -map 0 -c copy -f dash out.mpd` (ffmpeg 5.1),
// where it writes more than the entry's code (its mp4v lacks the profile and level, which
// a VOS start code at byte 22738 gives as 241). ffmpeg writes hex digits in lower case.
TEST(CodecString, EqualsDashManifest) {
    const std::map<std::string, std::vector<std::string>> kManifest = {
        {"avc_aac_bframes.mp4", {"avc1.f4000b", "mp4a.40.2"}},
        {"modern_ac3_eac3.mp4", {"avc1.f4000a", "ac-3", "ec-3"}},
        {"modern_alac_24bit.m4a", {"alac"}},
        {"modern_vp9_opus.mp4", {"vp09.01.10.08", "opus"}},
        // ffmpeg writes the last field, the colour range, as 0: it leaves unset the full
        // range an sRGB colour description implies (its ffprobe says "pc", full).
        {"modern_av1_opus.mp4", {"av01.1.00M.08.0.000.01.13.00.1", "opus"}},
        {"mp4v_aac_iods.mp4", {"mp4v.20.241", "mp4a.40.2"}},  // ffmpeg: "mp4v.20"
    };
    for (const auto& [name, expected] : kManifest) {
        SCOPED_TRACE(name);
        std::vector<std::string> ours = CodecStrings(name);
        for (std::string& s : ours) s = Lower(s);
        std::vector<std::string> want;
        for (const std::string& s : expected) want.push_back(Lower(s));
        EXPECT_EQ(ours, want);
    }
}

// Computed by hand from each entry's configuration: HEVC profile space and profile,
// compatibility flags bit-reversed, tier and level, constraint bytes without trailing
// zeros; MPEG-4 visual's profile and level from its visual object sequence header.
TEST(CodecString, HandCheckedValues) {
    EXPECT_EQ(CodecStrings("modern_hevc_main10_hlg.mp4"), std::vector<std::string>{"hvc1.2.4.L30.90"});
    EXPECT_EQ(CodecStrings("pub_mp4parse-rust_hevc_white_frame.mp4"), std::vector<std::string>{"hev1.1.6.L90.90"});
    EXPECT_EQ(CodecStrings("hevc_hvc1_aac.mp4")[0], "hvc1.4.10.L30.9E.8");
    EXPECT_EQ(CodecStrings("modern_h264_flac.mp4")[1], "fLaC");
    // An empty av1C (written before the muxer saw the stream) gives the code alone.
    EXPECT_EQ(CodecStrings("modern_av1_cmaf.mp4"), std::vector<std::string>{"av01"});
}
