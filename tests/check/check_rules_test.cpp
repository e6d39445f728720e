// Each rule of corvel check breaks on a corpus file with one field changed, and the
// finding names the bytes of that field (or of its box).
#include <gtest/gtest.h>

#include <functional>

#include "check/checker.h"
#include "support/corpus.h"
#include "support/parse_file.h"

namespace {
// The box a path names: codes joined by '/', each with an optional [n] among its kind.
const CBox* BoxAt(const CCorvel& parser, const std::string& path) {
    std::vector<const CBox*> level;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) level.push_back(parser.GetBox(i));
    const CBox* found = nullptr;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string step = path.substr(start, end - start);
        const size_t n = step.size() > 4 ? std::stoul(step.substr(5)) : 0;
        found = nullptr;
        size_t seen = 0;
        for (const CBox* box : level)
            if (box && FourCCText(box->m_type) == step.substr(0, 4) && seen++ == n) {
                found = box;
                break;
            }
        if (!found) return nullptr;
        level.clear();
        for (const auto& child : found->m_children) level.push_back(child.get());
        start = end + 1;
    }
    return found;
}

uint64_t Get(const std::string& bytes, uint64_t at, int width) {
    uint64_t v = 0;
    for (int i = 0; i < width; ++i) v = v << 8 | uint8_t(bytes[at + i]);
    return v;
}
void Put(std::string& bytes, uint64_t at, int width, uint64_t v) {
    for (int i = width - 1; i >= 0; --i, v >>= 8) bytes[at + i] = char(v & 0xff);
}

// One field of a corpus file changed: `field` bytes past the start of the box at `path`,
// `width` bytes wide (4 with a four-character code), made `change(old value)`.
struct Patch {
    const char* file;
    const char* path;
    uint64_t field;
    int width;
    std::function<uint64_t(uint64_t)> change;
};

struct Outcome {
    std::unique_ptr<ParsedFile> patched;
    std::vector<Finding> findings;
    uint64_t fieldOffset = 0;  // in the file
    std::string text;  // the findings, for failure messages
    const Finding* Rule(const std::string& rule) const {
        for (const Finding& f : findings)
            if (f.rule == rule) return &f;
        return nullptr;
    }
};

std::vector<Finding> Check(const ParsedFile& parsed) {
    return parsed.lib.Parser() ? CheckFile(*parsed.lib.Parser()) : std::vector<Finding>{};
}
std::vector<Finding> Check(const std::string& name, const std::string& bytes) { return Check(*ParseFile(name, bytes)); }

std::string Describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings)
        text += std::string(SeverityText(f.severity)) + " " + f.rule + " " + f.box + " @" + std::to_string(f.offset) +
                "+" + std::to_string(f.length) + ": " + f.message + "\n";
    return text;
}

Outcome Apply(const Patch& patch) {
    Outcome out;
    std::string bytes = ReadText(CorpusPath(patch.file));
    auto original = ParseFile(std::string("orig_") + patch.file, bytes);
    const CBox* box = BoxAt(*original->lib.Parser(), patch.path);
    EXPECT_NE(box, nullptr) << patch.file << " " << patch.path;
    if (!box) return out;
    out.fieldOffset = uint64_t(box->m_startOffset) + patch.field;
    Put(bytes, out.fieldOffset, patch.width, patch.change(Get(bytes, out.fieldOffset, patch.width)));
    out.patched = ParseFile(patch.file, bytes);
    out.findings = Check(*out.patched);
    out.text = Describe(out.findings);
    return out;
}

uint64_t Code(const char (&s)[5]) { return FourCC(s); }
auto To(uint64_t v) {
    return [v](uint64_t) { return v; };
}
auto Plus(uint64_t d) {
    return [d](uint64_t v) { return v + d; };
}

// Where a finding's bytes are: the changed field (or the record holding it), the box's
// start, or a field elsewhere that the change puts at fault.
enum class At { Field, Box, Other };

// Expects the rule's finding with the severity and box path given, at `at`.
void ExpectRule(const Patch& patch, const char* rule, Severity severity, const char* box, At at) {
    const Outcome out = Apply(patch);
    const Finding* f = out.Rule(rule);
    ASSERT_NE(f, nullptr) << patch.file << " " << patch.path << " wants " << rule << "; found:\n" << out.text;
    EXPECT_EQ(f->severity, severity) << rule;
    EXPECT_EQ(f->box, box) << rule;
    if (at == At::Field) {
        EXPECT_LE(f->offset, out.fieldOffset) << rule;
        EXPECT_GE(f->offset + f->length, out.fieldOffset + patch.width) << rule;
        EXPECT_LT(f->length, 64u) << rule;  // the field (or its record), not the box
    } else if (at == At::Box) {
        const CBox* named = BoxAt(*out.patched->lib.Parser(), f->box);
        ASSERT_NE(named, nullptr) << rule << " " << f->box;
        EXPECT_EQ(f->offset, uint64_t(named->m_startOffset)) << rule;
    }
}

const char* const kVideo = "moov/trak[0]/mdia/minf/stbl";
std::string V(const char* box) { return std::string(kVideo) + "/" + box; }
const char* const kAudioStbl = "moov/trak[1]/mdia/minf/stbl";
}  // namespace

// The unchanged file: only that its moov comes after its media data.
TEST(CheckRules, UnchangedFileHasOnlyTheLayoutNote) {
    const auto findings = Check("bframes.mp4", ReadText(CorpusPath("avc_aac_bframes.mp4")));
    ASSERT_EQ(findings.size(), 1u) << Describe(findings);
    EXPECT_EQ(findings[0].rule, "moov-after-mdat");
    EXPECT_EQ(findings[0].severity, Severity::Info);
    EXPECT_EQ(findings[0].box, "moov");
    EXPECT_EQ(findings[0].offset, 18811u);
}

TEST(CheckRules, Structure) {
    const char* f = "avc_aac_bframes.mp4";
    const std::string stsd = V("stsd");
    ExpectRule({f, "moov/mvhd", 4, 4, To(Code("mvhx"))}, "box-missing", Severity::Error, "moov", At::Box);
    ExpectRule({f, V("stsz").c_str(), 4, 4, To(Code("stsx"))}, "box-missing", Severity::Error,
               "moov/trak[0]/mdia/minf/stbl", At::Box);
    // stss and stco have one layout: a second stco.
    ExpectRule({f, V("stss").c_str(), 4, 4, To(Code("stco"))}, "box-duplicate", Severity::Error,
               "moov/trak[0]/mdia/minf/stbl/stco[1]", At::Box);
    // A vmhd read as an (empty) stss, in minf.
    ExpectRule({f, "moov/trak[0]/mdia/minf/vmhd", 4, 4, To(Code("stss"))}, "box-misplaced", Severity::Warning,
               "moov/trak[0]/mdia/minf/stss", At::Box);
    ExpectRule({f, "moov/trak[0]/mdia/minf/dinf/dref/url ", 0, 4, Plus(4)}, "box-past-parent", Severity::Error,
               "moov/trak[0]/mdia/minf/dinf/dref/url ", At::Box);
    ExpectRule({"avc_aac_faststart.mp4", "free", 4, 4, To(Code("ftyp"))}, "ftyp-not-first", Severity::Warning,
               "ftyp[1]", At::Box);
    // A file cut short.
    const auto cut = Check("cut.mp4", ReadText(CorpusPath("truncated_mdat.mp4")));
    ASSERT_FALSE(cut.empty());
    EXPECT_EQ(cut.back().rule, "file-truncated");
    EXPECT_EQ(cut.back().message, "the file ends inside the mdat box at 2372 (9385 of 18771 bytes present)");
}

TEST(CheckRules, SampleTables) {
    const char* f = "avc_aac_bframes.mp4";
    ExpectRule({f, V("stts").c_str(), 16, 4, Plus(1)}, "stts-sample-count", Severity::Error, V("stts").c_str(), At::Other);
    ExpectRule({f, V("ctts").c_str(), 16, 4, Plus(1)}, "ctts-sample-count", Severity::Error, V("ctts").c_str(), At::Other);
    // The video's chunk offsets read as a dependency table: 4 + 4 x 13 bytes for 50 samples.
    ExpectRule({f, V("stco").c_str(), 4, 4, To(Code("sdtp"))}, "sdtp-sample-count", Severity::Error,
               V("sdtp").c_str(), At::Box);
    const std::string sbgp = std::string(kAudioStbl) + "/sbgp";
    ExpectRule({f, sbgp.c_str(), 20, 4, To(0xffff)}, "sbgp-sample-count", Severity::Error, sbgp.c_str(), At::Box);
    ExpectRule({f, sbgp.c_str(), 24, 4, To(7)}, "sbgp-group-index", Severity::Error, sbgp.c_str(), At::Box);
    ExpectRule({f, V("stsc").c_str(), 16, 4, To(2)}, "stsc-first-chunk", Severity::Error, V("stsc").c_str(), At::Field);
    ExpectRule({f, V("stsc").c_str(), 20, 4, Plus(1)}, "stsc-sample-count", Severity::Error, V("stsc").c_str(), At::Other);
    ExpectRule({f, V("stss").c_str(), 16, 4, To(0xffff)}, "stss-sample-number", Severity::Error, V("stss").c_str(), At::Field);
    ExpectRule({f, V("stco").c_str(), 16, 4, To(30000)}, "stco-offset-past-eof", Severity::Error, V("stco").c_str(), At::Field);
    ExpectRule({f, V("stco").c_str(), 16, 4, To(21100)}, "sample-past-eof", Severity::Error, V("stco").c_str(), At::Field);
    ExpectRule({f, V("stco").c_str(), 16, 4, To(0)}, "sample-outside-mdat", Severity::Warning, V("stco").c_str(), At::Field);
    // The audio's first chunk (at 48) moved onto the video's first chunk (at 315).
    const std::string audioStco = std::string(kAudioStbl) + "/stco";
    ExpectRule({f, audioStco.c_str(), 16, 4, To(315)}, "samples-overlap", Severity::Error, audioStco.c_str(),
               At::Field);
    ExpectRule({f, "moov/trak[0]/mdia/mdhd", 24, 4, Plus(1000)}, "mdhd-duration", Severity::Warning,
               "moov/trak[0]/mdia/mdhd", At::Field);
    ExpectRule({f, "moov/trak[0]/tkhd", 28, 4, Plus(1000)}, "tkhd-duration", Severity::Warning, "moov/trak[0]/tkhd", At::Field);
    // saiz with flags 0: default size at 12, sample count at 13; saio's entry count at 12.
    // Fewer than the bytes hold (more would fail the parse of the moov).
    ExpectRule({"cenc.mp4", V("saiz").c_str(), 13, 4, Plus(-1)}, "saiz-sample-count", Severity::Error,
               V("saiz").c_str(), At::Field);
    ExpectRule({"cenc.mp4", V("saio").c_str(), 12, 4, To(0)}, "saio-entry-count", Severity::Error, V("saio").c_str(),
               At::Field);
}

TEST(CheckRules, Tracks) {
    const char* f = "avc_aac_bframes.mp4";
    ExpectRule({f, "moov/trak[1]/tkhd", 20, 4, To(1)}, "track-id-duplicate", Severity::Error, "moov/trak[1]/tkhd", At::Field);
    ExpectRule({f, "moov/trak[1]/tkhd", 20, 4, To(0)}, "track-id-zero", Severity::Error, "moov/trak[1]/tkhd", At::Field);
    ExpectRule({f, "moov/mvhd", 104, 4, To(2)}, "next-track-id", Severity::Warning, "moov/mvhd", At::Field);
    ExpectRule({f, V("stsc").c_str(), 24, 4, To(2)}, "sample-description-index", Severity::Error, V("stsc").c_str(), At::Field);
    ExpectRule({"avc_chapters.mp4", "moov/trak[0]/tref/chap", 8, 4, To(9)}, "tref-missing-track", Severity::Error,
               "moov/trak[0]/tref/chap", At::Field);
}

TEST(CheckRules, Fragments) {
    const char* f = "frag_default_base_moof.mp4";
    ExpectRule({f, "moof[0]/traf/tfhd", 12, 4, To(9)}, "traf-without-trex", Severity::Error, "moof[0]/traf/tfhd", At::Field);
    ExpectRule({f, "moof[1]/mfhd", 12, 4, To(1)}, "mfhd-sequence", Severity::Error, "moof[1]/mfhd", At::Field);
    ExpectRule({f, "moof[0]/traf/trun", 16, 4, Plus(1 << 20)}, "trun-data-outside-mdat", Severity::Error,
               "moof[0]/traf/trun", At::Field);
    // moof[2] holds the video's second fragment (moof[1] the audio's first).
    ExpectRule({f, "moof[2]/traf/tfdt", 16, 4, Plus(512)}, "tfdt-discontinuity", Severity::Warning,
               "moof[2]/traf/tfdt", At::Field);
    // tfra version 1: the first entry's moof offset is its last four bytes at 36.
    ExpectRule({f, "mfra/tfra", 36, 4, Plus(1)}, "tfra-not-moof", Severity::Error, "mfra/tfra[0]", At::Field);
    ExpectRule({f, "mfra/mfro", 12, 4, Plus(1)}, "mfro-size", Severity::Error, "mfra/mfro", At::Field);
    // sidx version 1: first offset at 28 (8 bytes), the first reference at 40.
    ExpectRule({"dash_video_seg1.m4s", "sidx", 32, 4, Plus(1)}, "sidx-reference", Severity::Error, "sidx", At::Field);
    ExpectRule({"dash_video_seg1.m4s", "sidx", 40, 4, Plus(100000)}, "sidx-reference", Severity::Error, "sidx", At::Field);
    // frag_global_sidx: one sidx over the fragments; its first reference's duration at 44.
    ExpectRule({"frag_global_sidx.mp4", "sidx", 44, 4, Plus(100)}, "sidx-duration", Severity::Error, "sidx[0]", At::Field);
    ExpectRule({"dash_video_seg1.m4s", "moof/traf/trun", 20, 4, To(0x01010000)}, "sidx-sap-not-sync",
               Severity::Warning, "sidx", At::Other);
    // afra: one local entry whose 8-byte offset (the FLV tag at 630) ends at 37.
    ExpectRule({"f4f_handmade.f4f", "afra", 33, 4, Plus(1)}, "afra-offset", Severity::Error, "afra", At::Field);
    // Its runs hold fragments 1 and 2 of a second each, and its current time is 2 s: the moof is
    // fragment 1; fragment 3 would start at the current time.
    ExpectRule({"f4f_handmade.f4f", "moof/mfhd", 12, 4, To(3)}, "abst-fragment-not-in-run", Severity::Error,
               "moof/mfhd", At::Field);
}

TEST(CheckRules, Codecs) {
    // The mono 22050 Hz AAC track: the mp4a entry's channel count at 24, its 16.16 rate at 32.
    const char* f = "avc_aac_bframes.mp4";
    const std::string mp4a = std::string(kAudioStbl) + "/stsd/mp4a";
    // 2 is the template value writers keep for any stream: 3 disagrees.
    ExpectRule({f, mp4a.c_str(), 24, 2, To(3)}, "aac-channels", Severity::Warning, mp4a.c_str(), At::Field);
    // Twice the rate is an HE-AAC stream told at its output rate: 32000 is neither.
    ExpectRule({f, mp4a.c_str(), 32, 4, To(32000u << 16)}, "aac-sample-rate", Severity::Warning, mp4a.c_str(),
               At::Field);
    ExpectRule({f, "moov/trak[1]/mdia/mdhd", 20, 4, To(1000)}, "aac-timescale", Severity::Info,
               "moov/trak[1]/mdia/mdhd", At::Field);
}

TEST(CheckRules, PictureDimensions) {
    // The 160x120 videos' entries: width at 32, height at 34; the SPS of avcC or hvcC disagrees.
    const std::string avc1 = V("stsd/avc1");
    ExpectRule({"avc_aac_bframes.mp4", avc1.c_str(), 32, 2, To(176)}, "avc-dimensions", Severity::Warning,
               avc1.c_str(), At::Field);
    ExpectRule({"avc_aac_bframes.mp4", avc1.c_str(), 34, 2, To(144)}, "avc-dimensions", Severity::Warning,
               avc1.c_str(), At::Field);
    const char* hev1 = "moov/trak/mdia/minf/stbl/stsd/hev1";
    ExpectRule({"hevc_hev1.mp4", hev1, 32, 2, To(320)}, "hevc-dimensions", Severity::Warning, hev1, At::Field);
    ExpectRule({"hevc_hev1.mp4", hev1, 34, 2, To(240)}, "hevc-dimensions", Severity::Warning, hev1, At::Field);
}
