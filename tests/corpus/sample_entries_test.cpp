// The sample entries of every corpus track against ffprobe's streams (entry code,
// picture size, AVC/HEVC profile and level, MPEG-4 object type and AAC configuration),
// and every avcC, hvcC and esds field MediaInfo dumps against ours at the same offset.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <regex>
#include <sstream>

#include "base/span_map.h"
#include "boxes/containers/corvel.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "support/box_builder.h"
#include "support/cli_run.h"
#include "support/corpus.h"

namespace {
using Fields = std::map<std::string, std::string>;

// ffprobe's streams by track ID, with their top-level fields.
std::map<uint32_t, Fields> FfprobeStreams(const std::string& json) {
    static const std::regex field(R"re("(\w+)": (?:"([^"]*)"|(-?\d+)))re");
    std::map<uint32_t, Fields> streams;
    for (size_t pos = json.find("\"index\":"); pos != std::string::npos; pos = json.find("\"index\":", pos + 1)) {
        const std::string block = json.substr(pos, json.find("\"disposition\"", pos) - pos);
        Fields f;
        for (std::sregex_iterator it(block.begin(), block.end(), field), end; it != end; ++it)
            f[(*it)[1]] = (*it)[2].matched ? (*it)[2].str() : (*it)[3].str();
        if (f.count("id")) streams[static_cast<uint32_t>(std::stoul(f["id"], nullptr, 16))] = f;
    }
    return streams;
}

// Calls `visit` with every box of a tree, depth first.
void EachBox(const CBox& box, const std::function<void(const CBox&)>& visit) {
    visit(box);
    for (const auto& child : box.m_children)
        if (child) EachBox(*child, visit);
}

template <class T>
const T* FirstChild(const CBox* box) {
    for (size_t i = 0; box && i < box->GetChildCount(); ++i)
        if (auto* t = dynamic_cast<const T*>(box->GetChild(i))) return t;
    return nullptr;
}

const CBox* Find(const CBox* from, std::initializer_list<const char*> path) {
    for (const char* type : path) {
        uint32_t code = 0;
        for (int i = 0; i < 4; ++i) code = (code << 8) | static_cast<uint8_t>(type[i]);
        from = from ? from->RetrieveChildBox(code, true) : nullptr;
    }
    return from;
}

int AvcProfile(const std::string& name) {
    static const std::map<std::string, int> kIdc = {
        {"Baseline", 66}, {"Constrained Baseline", 66}, {"Main", 77}, {"Extended", 88}, {"High", 100},
        {"High 10", 110}, {"High 4:2:2", 122}, {"High 4:4:4 Predictive", 244}};
    return kIdc.count(name) ? kIdc.at(name) : -1;
}

int HevcProfile(const std::string& name) {
    static const std::map<std::string, int> kIdc = {{"Main", 1}, {"Main 10", 2}, {"Main Still Picture", 3}, {"Rext", 4}};
    return kIdc.count(name) ? kIdc.at(name) : -1;
}

// ffprobe's AAC profile names by audio object type.
std::string AacProfile(const CAudioSpecificConfig& asc) {
    if (asc.m_sbrFlag) return "HE-AAC";
    static const std::map<uint32_t, std::string> kNames = {{1, "Main"}, {2, "LC"}, {3, "SSR"}, {4, "LTP"}};
    return kNames.count(asc.m_audioObjectType) ? kNames.at(asc.m_audioObjectType) : "?";
}

uint32_t SamplingFrequency(uint32_t index, uint32_t explicitRate) {
    static const uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                      22050, 16000, 12000, 11025, 8000,  7350};
    return index < 13 ? kRates[index] : explicitRate;
}

struct Tally {
    int tracks = 0, pictures = 0, avc = 0, hevc = 0, aac = 0, mpeg4 = 0;
};

// The first sample entry of each track against the track's ffprobe stream.
void CheckTrack(const CBox& trak, const std::map<uint32_t, Fields>& streams, Tally& tally) {
    const auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Find(&trak, {"tkhd"}));
    const CBox* stsd = Find(&trak, {"mdia", "minf", "stbl", "stsd"});
    if (!tkhd || !stsd || stsd->GetChildCount() == 0 || !streams.count(tkhd->m_trackID)) return;
    const Fields& fields = streams.at(tkhd->m_trackID);
    auto s = [&fields](const char* key) { return fields.count(key) ? fields.at(key) : "(none)"; };
    // A value ffprobe does not report (a track without samples has no profile, level -99).
    auto reported = [&fields](const char* key) { return fields.count(key) && fields.at(key) != "-99"; };
    const CBox& entry = *stsd->GetChild(0);
    SCOPED_TRACE("track " + std::to_string(tkhd->m_trackID) + " " + entry.TypeText());
    ++tally.tracks;
    // ffprobe names a protected entry (encv, enca) by its original format, which lies in
    // its sinf; a code that is not text is shown as [n][n][n][n].
    if (!entry.TypeText().starts_with("enc") && s("codec_tag_string")[0] != '[') {
        EXPECT_EQ(entry.TypeText(), s("codec_tag_string"));
    }
    if (auto* visual = dynamic_cast<const CVisualSampleEntry*>(&entry); visual && fields.count("width")) {
        EXPECT_EQ(std::to_string(visual->m_width), s("width"));
        EXPECT_EQ(std::to_string(visual->m_height), s("height"));
        ++tally.pictures;
    }
    auto* avcC = FirstChild<CAVCConfigurationBox>(&entry);
    if (avcC && avcC->m_record && reported("profile") && reported("level")) {
        EXPECT_EQ(int(avcC->m_record->m_AVCProfileIndication), AvcProfile(s("profile"))) << s("profile");
        EXPECT_EQ(std::to_string(avcC->m_record->m_AVCLevelIndication), s("level"));
        ++tally.avc;
    }
    auto* hvcC = FirstChild<CHEVCConfigurationBox>(&entry);
    if (hvcC && hvcC->m_record && reported("profile") && reported("level")) {
        EXPECT_EQ(int(hvcC->m_record->m_generalProfileIdc), HevcProfile(s("profile"))) << s("profile");
        EXPECT_EQ(std::to_string(hvcC->m_record->m_generalLevelIdc), s("level"));
        ++tally.hevc;
    }
    auto* esds = FirstChild<ESDescriptorBox>(&entry);
    if (!esds || !esds->m_esDescriptor || !esds->m_esDescriptor->m_decoderConfig) return;
    const CDecoderConfigDescriptor& config = *esds->m_esDescriptor->m_decoderConfig;
    if (config.m_objectTypeIndication == 0x20) {
        EXPECT_EQ(s("codec_name"), "mpeg4");
        ++tally.mpeg4;
    }
    auto* asc = dynamic_cast<const CAudioSpecificConfig*>(config.m_decoderSpecificInfo.get());
    if (config.m_objectTypeIndication != 0x40 || !asc) return;
    EXPECT_EQ(s("codec_name"), "aac");
    if (reported("profile")) {
        EXPECT_EQ(AacProfile(*asc), s("profile"));
    }
    const uint32_t rate = asc->m_sbrFlag ? SamplingFrequency(asc->m_extensionSamplingFrequencyIndex, asc->m_extensionSamplingFrequency)
                                         : SamplingFrequency(asc->m_samplingFrequencyIndex, asc->m_samplingFrequency);
    EXPECT_EQ(std::to_string(rate), s("sample_rate"));
    const uint32_t channels = asc->m_channelConfiguration == 7 ? 8 : asc->m_channelConfiguration;
    EXPECT_EQ(std::to_string(channels), s("channels"));
    ++tally.aac;
}

// MediaInfo's fields by offset and label: "4B83          AVCProfileIndication:  244 (0xF4)".
// A value is its first number, or 1 for "Yes" and 0 for "No".
std::map<std::pair<uint64_t, std::string>, uint64_t> MediaInfoFields(const std::string& text) {
    static const std::regex line(R"(^([0-9A-F]+) +([^:]+?): +(\d+|Yes|No)\b)");
    std::map<std::pair<uint64_t, std::string>, uint64_t> fields;
    std::istringstream in(text);
    for (std::string s; std::getline(in, s);) {
        std::smatch m;
        if (!std::regex_search(s, m, line)) continue;
        const std::string v = m[3];
        fields.emplace(std::make_pair(std::stoull(m[1], nullptr, 16), m[2].str()),
                       v == "Yes" ? 1 : v == "No" ? 0 : std::stoull(v));
    }
    return fields;
}

// The fields of the configuration records and descriptors that MediaInfo names, with
// its labels.
std::vector<std::pair<const uint32_t*, const char*>> NamedFields(const CBox& box) {
    if (auto* avcC = dynamic_cast<const CAVCConfigurationBox*>(&box); avcC && avcC->m_record) {
        const auto& r = *avcC->m_record;
        return {{&r.m_AVCProfileIndication, "AVCProfileIndication"}, {&r.m_profileCompatibility, "profile_compatibility"},
                {&r.m_AVCLevelIndication, "AVCLevelIndication"}, {&r.m_lengthSizeMinusOne, "lengthSizeMinusOne"},
                {&r.m_numOfSequenceParameterSets, "numOfSequenceParameterSets"}};
    }
    if (auto* hvcC = dynamic_cast<const CHEVCConfigurationBox*>(&box); hvcC && hvcC->m_record) {
        const auto& r = *hvcC->m_record;
        return {{&r.m_generalProfileSpace, "general_profile_space"}, {&r.m_generalTierFlag, "general_tier_flag"},
                {&r.m_generalProfileIdc, "general_profile_idc"},
                {&r.m_generalProfileCompatibilityFlags, "general_profile_compatibility_flags"},
                {&r.m_generalLevelIdc, "general_level_idc"}, {&r.m_minSpatialSegmentationIdc, "min_spatial_segmentation_idc"},
                {&r.m_parallelismType, "parallelismType"}, {&r.m_chromaFormat, "chromaFormat"},
                {&r.m_bitDepthLumaMinus8, "bitDepthLumaMinus8"}, {&r.m_bitDepthChromaMinus8, "bitDepthChromaMinus8"},
                {&r.m_avgFrameRate, "avgFrameRate"}, {&r.m_constantFrameRate, "constantFrameRate"},
                {&r.m_numTemporalLayers, "numTemporalLayers"}, {&r.m_temporalIdNested, "temporalIdNested"},
                {&r.m_lengthSizeMinusOne, "lengthSizeMinusOne"}, {&r.m_numOfArrays, "numOfArrays"}};
    }
    auto* esds = dynamic_cast<const ESDescriptorBox*>(&box);
    if (!esds || !esds->m_esDescriptor) return {};
    const CESDescriptor& es = *esds->m_esDescriptor;
    std::vector<std::pair<const uint32_t*, const char*>> fields = {{&es.m_esId, "ES_ID"},
                                                                   {&es.m_streamPriority, "streamPriority"}};
    if (const CDecoderConfigDescriptor* c = es.m_decoderConfig.get()) {
        fields.insert(fields.end(), {{&c->m_objectTypeIndication, "objectTypeIndication"}, {&c->m_streamType, "streamType"},
                                     {&c->m_bufferSizeDB, "bufferSizeDB"}, {&c->m_maxBitrate, "maxBitrate"},
                                     {&c->m_avgBitrate, "avgBitrate"}});
        if (auto* asc = dynamic_cast<const CAudioSpecificConfig*>(c->m_decoderSpecificInfo.get())) {
            fields.insert(fields.end(), {{&asc->m_audioObjectType, "audioObjectType"},
                                         {&asc->m_samplingFrequencyIndex, "samplingFrequencyIndex"},
                                         {&asc->m_channelConfiguration, "channelConfiguration"}});
            if (const GASpecificConfig* ga = asc->m_gaSpecificConfig.get())
                fields.insert(fields.end(), {{&ga->m_frameLengthFlag, "frameLengthFlag"},
                                             {&ga->m_dependsOnCoreCoder, "dependsOnCoreCoder"},
                                             {&ga->m_extensionFlag, "extensionFlag"}});
        }
    }
    return fields;
}
}  // namespace

TEST(CorpusSampleEntries, EntriesMatchFfprobe) {
    Tally tally;
    for (const std::string& name : CorpusFiles()) {
        const std::string json = ReadText(CorpusRef(name, "ffprobe.json"));
        if (json.empty()) continue;
        SCOPED_TRACE(name);
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        const std::map<uint32_t, Fields> streams = FfprobeStreams(json);
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) {
            const CBox& top = *lib.Parser()->GetBox(i);
            if (top.m_type != FourCC("moov")) continue;
            for (const auto& trak : top.m_children)
                if (trak->m_type == FourCC("trak")) CheckTrack(*trak, streams, tally);
        }
    }
    EXPECT_GE(tally.tracks, 100);
    EXPECT_GE(tally.pictures, 48);
    EXPECT_GE(tally.avc, 26);
    EXPECT_GE(tally.hevc, 4);
    EXPECT_GE(tally.aac, 33);
    EXPECT_GE(tally.mpeg4, 4);
}

TEST(CorpusSampleEntries, RecordAndDescriptorFieldsMatchMediaInfo) {
    int compared = 0;
    for (const std::string& name : CorpusFiles()) {
        const auto reference = MediaInfoFields(ReadText(CorpusRef(name, "mediainfo.txt")));
        if (reference.empty()) continue;
        SCOPED_TRACE(name);
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) {
            // A parse that notes where each field lies: MediaInfo names its fields by offset.
            SpanMap spans;
            const std::unique_ptr<CBox> copy = lib.Parser()->Reparse(*lib.Parser()->GetBox(i), spans);
            ASSERT_NE(copy, nullptr);
            EachBox(*copy, [&](const CBox& box) {
                for (const auto& [field, label] : NamedFields(box)) {
                    const Span span = spans.Lookup(field, sizeof *field);
                    auto it = reference.find({span.Offset(), label});
                    if (span.Empty() || it == reference.end()) continue;
                    EXPECT_EQ(*field, it->second) << box.TypeText() << " " << label << " @" << span.Offset();
                    ++compared;
                }
            });
        }
    }
    EXPECT_GE(compared, 640);
}

TEST(CorpusSampleEntries, CorvelShowsEntriesByBoxPath) {
    const std::string file = std::string("'") + CorpusPath("avc_aac_bframes.mp4") + "'";
    const CliRun tree = RunCorvel("tree " + file);
    EXPECT_NE(tree.out.find("          stsd 19220 193\n            avc1 19236 177\n              avcC 19322 55\n"),
              std::string::npos) << tree.out;
    EXPECT_NE(tree.out.find("            mp4a 20454 110\n              esds 20490 54\n              btrt 20544 20\n"),
              std::string::npos);
    const std::string out = TempDir() + "/avcC.html";
    const CliRun page = RunCorvel("page " + file + " moov/trak[0]/mdia/minf/stbl/stsd/avc1/avcC -o '" + out + "'");
    ASSERT_EQ(page.status, 0) << page.err;
    const std::string html = ReadText(out);
    EXPECT_NE(html.find("<b>AVC Decoder Configuration Record</b>"), std::string::npos);
    EXPECT_NE(html.find(">Picture parameter set (0)</td>\r\n<td align = \"left\" bgcolor = white>0x68 "), std::string::npos);
}
