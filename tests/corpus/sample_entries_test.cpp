// The sample entries of every corpus track against ffprobe's streams (entry code,
// picture size, AVC/HEVC profile and level, MPEG-4 object type and AAC configuration),
// and every avcC, hvcC and esds field MediaInfo dumps against ours at the same offset.
#include <gtest/gtest.h>

#include "base/span_map.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "corpus/corpus_refs.h"

namespace {
template <class T>
const T* FirstChild(const CBox* box) {
    for (size_t i = 0; box && i < box->GetChildCount(); ++i)
        if (auto* t = dynamic_cast<const T*>(box->GetChild(i))) return t;
    return nullptr;
}

// The profile_idc of ffprobe's AVC or HEVC profile name.
int ProfileIdc(bool hevc, const std::string& name) {
    static const std::map<std::string, int> kAvc = {
        {"Baseline", 66}, {"Constrained Baseline", 66}, {"Main", 77}, {"Extended", 88}, {"High", 100},
        {"High 10", 110}, {"High 4:2:2", 122}, {"High 4:4:4 Predictive", 244}};
    static const std::map<std::string, int> kHevc = {{"Main", 1}, {"Main 10", 2}, {"Main Still Picture", 3}, {"Rext", 4}};
    const auto& idc = hevc ? kHevc : kAvc;
    return idc.count(name) ? idc.at(name) : -1;
}

// ffprobe's AAC profile names by audio object type.
std::string AacProfile(const CAudioSpecificConfig& asc) {
    if (asc.m_sbrFlag) return "HE-AAC";
    static const std::map<uint32_t, std::string> kNames = {{1, "Main"}, {2, "LC"}, {3, "SSR"}, {4, "LTP"}};
    return kNames.count(asc.m_audioObjectType) ? kNames.at(asc.m_audioObjectType) : "?";
}

struct Tally {
    int tracks = 0, pictures = 0, avc = 0, hevc = 0, aac = 0, mpeg4 = 0;
};

// The first sample entry of each track against the track's ffprobe stream.
void CheckTrack(const CBox& trak, const std::map<uint32_t, Fields>& streams, Tally& tally) {
    const auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Descend(&trak, {"tkhd"}));
    const CBox* stsd = Descend(&trak, {"mdia", "minf", "stbl", "stsd"});
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
        EXPECT_EQ(int(avcC->m_record->m_AVCProfileIndication), ProfileIdc(false, s("profile"))) << s("profile");
        EXPECT_EQ(std::to_string(avcC->m_record->m_AVCLevelIndication), s("level"));
        ++tally.avc;
    }
    auto* hvcC = FirstChild<CHEVCConfigurationBox>(&entry);
    if (hvcC && hvcC->m_record && reported("profile") && reported("level")) {
        EXPECT_EQ(int(hvcC->m_record->m_generalProfileIdc), ProfileIdc(true, s("profile"))) << s("profile");
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
    const uint32_t rate = asc->m_sbrFlag ? SamplingRate(asc->m_extensionSamplingFrequencyIndex, asc->m_extensionSamplingFrequency)
                                         : SamplingRate(asc->m_samplingFrequencyIndex, asc->m_samplingFrequency);
    EXPECT_EQ(std::to_string(rate), s("sample_rate"));
    const uint32_t channels = asc->m_channelConfiguration == 7 ? 8 : asc->m_channelConfiguration;
    EXPECT_EQ(std::to_string(channels), s("channels"));
    ++tally.aac;
}

// MediaInfo's fields by offset and label: "4B83          AVCProfileIndication:  244 (0xF4)".
// A value is its first number, or 1 for "Yes" and 0 for "No".
std::map<std::pair<uint64_t, std::string>, uint64_t> MediaInfoFields(const std::string& name) {
    static const std::regex number(R"(^(\d+|Yes|No)\b)");
    std::map<std::pair<uint64_t, std::string>, uint64_t> fields;
    std::smatch m;
    for (const InfoLine& l : MediaInfoLines(name))
        if (!l.label.empty() && std::regex_search(l.value, m, number))
            fields.emplace(std::make_pair(l.offset, l.label), m[1] == "Yes" ? 1 : m[1] == "No" ? 0 : std::stoull(m[1]));
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
        const std::map<uint32_t, Fields> streams = FfprobeStreams(name);
        if (streams.empty()) continue;
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        for (const CBox* top : f.Top())
            for (const auto& trak : top->m_children)
                if (top->m_type == FourCC("moov") && trak->m_type == FourCC("trak")) CheckTrack(*trak, streams, tally);
    }
    EXPECT_GE(tally.tracks, 109);
    EXPECT_GE(tally.pictures, 51);
    EXPECT_GE(tally.avc, 28);
    EXPECT_GE(tally.hevc, 4);
    EXPECT_GE(tally.aac, 35);
    EXPECT_GE(tally.mpeg4, 4);
}

TEST(CorpusSampleEntries, RecordAndDescriptorFieldsMatchMediaInfo) {
    int compared = 0;
    for (const std::string& name : CorpusFiles()) {
        const auto reference = MediaInfoFields(name);
        if (reference.empty()) continue;
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        for (const CBox* top : f.Top()) {
            // A parse that notes where each field lies: MediaInfo names its fields by offset.
            SpanMap spans;
            const std::unique_ptr<CBox> copy = f.P().Reparse(*top, spans);
            ASSERT_NE(copy, nullptr);
            for (const CBox* box : BoxesUnder({copy.get()}))
                for (const auto& [field, label] : NamedFields(*box)) {
                    const Span span = spans.Lookup(field, sizeof *field);
                    auto it = reference.find({span.Offset(), label});
                    if (span.Empty() || it == reference.end()) continue;
                    EXPECT_EQ(*field, it->second) << box->TypeText() << " " << label << " @" << span.Offset();
                    ++compared;
                }
        }
    }
    EXPECT_GE(compared, 658);
}
