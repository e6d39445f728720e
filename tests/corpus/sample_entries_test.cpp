// The sample entries of every corpus track against ffprobe's streams (entry code,
// picture size, AVC/HEVC profile and level, MPEG-4 object type and AAC configuration),
// and every avcC, hvcC and esds field MediaInfo dumps against ours at the same offset.
#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <functional>
#include <set>

#include "base/span_map.h"
#include "boxes/audiocodecs/ac3_config_box.h"
#include "boxes/audiocodecs/alac_config_box.h"
#include "boxes/audiocodecs/amr_config_box.h"
#include "boxes/audiocodecs/eac3_config_box.h"
#include "boxes/audiocodecs/flac_config_box.h"
#include "boxes/audiocodecs/opus_config_box.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/channel_layout_box.h"
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
    static const std::map<std::string, int> kIdc = {
        {"avc Baseline", 66}, {"avc Constrained Baseline", 66}, {"avc Main", 77}, {"avc Extended", 88},
        {"avc High", 100}, {"avc High 10", 110}, {"avc High 4:2:2", 122}, {"avc High 4:4:4 Predictive", 244},
        {"hevc Main", 1}, {"hevc Main 10", 2}, {"hevc Main Still Picture", 3}, {"hevc Rext", 4}};
    const auto it = kIdc.find((hevc ? "hevc " : "avc ") + name);
    return it == kIdc.end() ? -1 : it->second;
}

// ffprobe's AAC profile names by audio object type.
std::string AacProfile(const CAudioSpecificConfig& asc) {
    if (asc.m_sbrFlag) return "HE-AAC";
    static const std::map<uint32_t, std::string> kNames = {{1, "Main"}, {2, "LC"}, {3, "SSR"}, {4, "LTP"}};
    return kNames.count(asc.m_audioObjectType) ? kNames.at(asc.m_audioObjectType) : "?";
}

// The channels, sample rate and bit depth of an audio codec configuration against
// ffprobe's stream: expect(what, ffprobe key, ours).
template <class Expect>
void CheckAudioConfiguration(const CBox& entry, Expect& expect) {
    using std::to_string;
    if (auto* dOps = FirstChild<COpusConfigBox>(&entry)) expect("opus channels", "channels", to_string(dOps->m_outputChannelCount));
    if (auto* dfLa = FirstChild<CFlacConfigBox>(&entry); dfLa && dfLa->m_hasStreamInfo) {
        const CFlacConfigBox::StreamInfo& info = dfLa->m_streamInfo;
        expect("flac channels", "channels", to_string(info.channelsMinus1 + 1));
        expect("flac rate", "sample_rate", to_string(info.sampleRate));
        expect("flac bits", "bits_per_raw_sample", to_string(info.bitsPerSampleMinus1 + 1));
    }
    if (auto* alac = FirstChild<CALACConfigBox>(&entry)) {
        expect("alac channels", "channels", to_string(alac->m_numChannels));
        expect("alac rate", "sample_rate", to_string(alac->m_sampleRate));
        expect("alac bits", "bits_per_raw_sample", to_string(alac->m_bitDepth));
    }
    // AC-3's channels by coding mode, plus the LFE; its rates by sample rate code.
    static const uint32_t kChannels[] = {2, 1, 2, 3, 3, 4, 4, 5};
    static const char* const kRates[] = {"48000", "44100", "32000", "?"};
    auto ac3 = [&](const char* what, uint32_t fscod, uint32_t acmod, uint32_t lfeon) {
        expect(std::string(what) + " channels", "channels", to_string(kChannels[acmod] + lfeon));
        expect(std::string(what) + " rate", "sample_rate", kRates[fscod]);
    };
    if (auto* dac3 = FirstChild<CAC3ConfigBox>(&entry)) ac3("ac-3", dac3->m_fscod, dac3->m_acmod, dac3->m_lfeon);
    // A stream of one independent substream without dependent ones.
    if (auto* dec3 = FirstChild<CEAC3ConfigBox>(&entry); dec3 && dec3->m_substreams.size() == 1)
        ac3("e-ac-3", dec3->m_substreams[0].fscod, dec3->m_substreams[0].acmod, dec3->m_substreams[0].lfeon);
}

// The first sample entry of each track against the track's ffprobe stream, each value
// counted by what it is.
void CheckTrack(const CBox& trak, const std::map<uint32_t, Fields>& streams, std::map<std::string, int>& tally) {
    const auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Descend(&trak, {"tkhd"}));
    const CBox* stsd = Descend(&trak, {"mdia", "minf", "stbl", "stsd"});
    if (!tkhd || !stsd || stsd->GetChildCount() == 0 || !streams.count(tkhd->m_trackID)) return;
    const Fields& s = streams.at(tkhd->m_trackID);
    const CBox& entry = *stsd->GetChild(0);
    SCOPED_TRACE("track " + std::to_string(tkhd->m_trackID) + " " + entry.TypeText());
    ++tally["tracks"];
    // Ours against what ffprobe reports under `key` (as `theirs` reads it); a track without
    // samples has no profile, and level -99.
    auto expect = [&](const std::string& what, const char* key, const std::string& ours,
                      std::function<std::string(const std::string&)> theirs = nullptr) {
        if (!s.count(key) || s.at(key) == "-99") return;
        EXPECT_EQ(ours, theirs ? theirs(s.at(key)) : s.at(key)) << what;
        ++tally[what];
    };
    using std::to_string;
    // ffprobe names a protected entry (encv, enca) by its original format, which lies in
    // its sinf; a code that is not text is shown as [n][n][n][n].
    if (!entry.TypeText().starts_with("enc") && !s.at("codec_tag_string").starts_with("["))
        expect("entry code", "codec_tag_string", entry.TypeText());
    if (auto* visual = dynamic_cast<const CVisualSampleEntry*>(&entry)) {
        expect("width", "width", to_string(visual->m_width));
        expect("height", "height", to_string(visual->m_height));
    }
    auto idc = [](bool hevc) { return [hevc](const std::string& name) { return to_string(ProfileIdc(hevc, name)); }; };
    if (auto* avcC = FirstChild<CAVCConfigurationBox>(&entry); avcC && avcC->m_record) {
        expect("avc profile", "profile", to_string(avcC->m_record->m_AVCProfileIndication), idc(false));
        expect("avc level", "level", to_string(avcC->m_record->m_AVCLevelIndication));
    }
    if (auto* hvcC = FirstChild<CHEVCConfigurationBox>(&entry); hvcC && hvcC->m_record) {
        expect("hevc profile", "profile", to_string(hvcC->m_record->m_generalProfileIdc), idc(true));
        expect("hevc level", "level", to_string(hvcC->m_record->m_generalLevelIdc));
    }
    // The channel count and rate of a QuickTime sound description (version 1 or 2, whose
    // own fields hold them in version 2) and of uncompressed PCM; elsewhere the entry's
    // fields are a template and the codec's configuration says them.
    static const std::set<std::string> kPcm = {"sowt", "twos", "lpcm", "in24", "in32", "fl32", "fl64", "raw "};
    if (auto* audio = dynamic_cast<const CAudioSampleEntry*>(&entry);
        audio && (audio->HasSoundVersion1() || audio->HasSoundVersion2() || kPcm.count(entry.TypeText()))) {
        const bool v2 = audio->HasSoundVersion2();
        double rate = 0;
        std::memcpy(&rate, &audio->m_audioSampleRate, sizeof rate);
        expect("entry channels", "channels", to_string(v2 ? audio->m_audioChannels : audio->m_channelCount));
        if (!FirstChild<COpusConfigBox>(&entry))  // Opus always decodes at 48 kHz
            expect("entry rate", "sample_rate", to_string(v2 ? uint32_t(rate) : audio->m_sampleRate >> 16));
    }
    CheckAudioConfiguration(entry, expect);
    auto* esds = FirstChild<ESDescriptorBox>(&entry);
    if (!esds || !esds->m_esDescriptor || !esds->m_esDescriptor->m_decoderConfig) return;
    const CDecoderConfigDescriptor& config = *esds->m_esDescriptor->m_decoderConfig;
    if (config.m_objectTypeIndication == 0x20) expect("mpeg4", "codec_name", "mpeg4");
    auto* asc = dynamic_cast<const CAudioSpecificConfig*>(config.m_decoderSpecificInfo.get());
    if (config.m_objectTypeIndication != 0x40 || !asc) return;
    const uint32_t rate = asc->m_sbrFlag ? SamplingRate(asc->m_extensionSamplingFrequencyIndex, asc->m_extensionSamplingFrequency)
                                         : SamplingRate(asc->m_samplingFrequencyIndex, asc->m_samplingFrequency);
    expect("aac", "codec_name", "aac");
    expect("aac profile", "profile", AacProfile(*asc));
    expect("aac rate", "sample_rate", to_string(rate));
    // ffprobe counts the channels of a protected track from its encrypted frames.
    if (!entry.TypeText().starts_with("enc"))
        expect("aac channels", "channels", to_string(asc->m_channelConfiguration == 7 ? 8 : asc->m_channelConfiguration));
}

// MediaInfo's fields by offset and label: "4B83          AVCProfileIndication:  244 (0xF4)".
// A value is its first number, or 1 for "Yes" and 0 for "No".
// A number wider than 64 bits (a FLAC stream's MD5 signature) is no field of ours: left out.
std::map<std::pair<uint64_t, std::string>, uint64_t> MediaInfoFields(const std::string& name) {
    static const std::regex number(R"(^(\d+|Yes|No)\b)");
    std::map<std::pair<uint64_t, std::string>, uint64_t> fields;
    std::smatch m;
    for (const InfoLine& l : MediaInfoLines(name)) {
        if (l.label.empty() || !std::regex_search(l.value, m, number)) continue;
        const std::string text = m[1];
        uint64_t v = text == "Yes";
        if (text != "Yes" && text != "No" &&
            std::from_chars(text.data(), text.data() + text.size(), v).ec != std::errc())
            continue;
        fields.emplace(std::make_pair(l.offset, l.label), v);
    }
    return fields;
}

// The fields of the configuration records and descriptors that MediaInfo names, with
// its labels (most of them our member names).
#define SAME(object, member) {&(object).m_##member, #member}
std::vector<std::pair<const uint32_t*, const char*>> NamedFields(const CBox& box) {
    if (auto* avcC = dynamic_cast<const CAVCConfigurationBox*>(&box); avcC && avcC->m_record) {
        const auto& r = *avcC->m_record;
        return {SAME(r, AVCProfileIndication), {&r.m_profileCompatibility, "profile_compatibility"},
                SAME(r, AVCLevelIndication), SAME(r, lengthSizeMinusOne), SAME(r, numOfSequenceParameterSets)};
    }
    if (auto* hvcC = dynamic_cast<const CHEVCConfigurationBox*>(&box); hvcC && hvcC->m_record) {
        const auto& r = *hvcC->m_record;
        return {{&r.m_generalProfileSpace, "general_profile_space"}, {&r.m_generalTierFlag, "general_tier_flag"},
                {&r.m_generalProfileIdc, "general_profile_idc"},
                {&r.m_generalProfileCompatibilityFlags, "general_profile_compatibility_flags"},
                {&r.m_generalLevelIdc, "general_level_idc"},
                {&r.m_minSpatialSegmentationIdc, "min_spatial_segmentation_idc"}, SAME(r, parallelismType),
                SAME(r, chromaFormat), SAME(r, bitDepthLumaMinus8), SAME(r, bitDepthChromaMinus8), SAME(r, avgFrameRate),
                SAME(r, constantFrameRate), SAME(r, numTemporalLayers), SAME(r, temporalIdNested),
                SAME(r, lengthSizeMinusOne), SAME(r, numOfArrays)};
    }
    if (auto* dac3 = dynamic_cast<const CAC3ConfigBox*>(&box))
        return {SAME(*dac3, fscod), SAME(*dac3, bsid), SAME(*dac3, bsmod), SAME(*dac3, acmod), SAME(*dac3, lfeon),
                {&dac3->m_bitRateCode, "bit_rate_code"}};
    if (auto* dec3 = dynamic_cast<const CEAC3ConfigBox*>(&box)) {
        std::vector<std::pair<const uint32_t*, const char*>> fields = {{&dec3->m_dataRate, "data_rate"},
                                                                       {&dec3->m_numIndSub, "num_ind_sub"}};
        for (const auto& sub : dec3->m_substreams)
            fields.insert(fields.end(), {{&sub.fscod, "fscod"}, {&sub.bsid, "bsid"}, {&sub.asvc, "asvc"},
                                         {&sub.bsmod, "bsmod"}, {&sub.acmod, "acmod"}, {&sub.lfeon, "lfeon"},
                                         {&sub.numDepSub, "num_dep_sub"}});
        return fields;
    }
    if (auto* dfLa = dynamic_cast<const CFlacConfigBox*>(&box)) {
        std::vector<std::pair<const uint32_t*, const char*>> fields;
        for (const auto& block : dfLa->m_blocks)
            fields.insert(fields.end(), {{&block.last, "Last-metadata-block"}, {&block.type, "BLOCK_TYPE"},
                                         {&block.length, "Length"}});
        const auto& info = dfLa->m_streamInfo;
        if (dfLa->m_hasStreamInfo)
            fields.insert(fields.end(), {{&info.minBlockSize, "BlockSize_Min"}, {&info.maxBlockSize, "BlockSize_Max"},
                                         {&info.minFrameSize, "FrameSize_Min"}, {&info.maxFrameSize, "FrameSize_Max"},
                                         {&info.sampleRate, "SampleRate"}, {&info.channelsMinus1, "Channels"},
                                         {&info.bitsPerSampleMinus1, "BitPerSample"}});
        return fields;
    }
    if (auto* alac = dynamic_cast<const CALACConfigBox*>(&box))
        return {{&alac->m_frameLength, "max sample per frame"}, {&alac->m_bitDepth, "sample size"},
                {&alac->m_pb, "rice history mult"},             {&alac->m_mb, "rice initial history"},
                {&alac->m_kb, "rice kmodifier"},                {&alac->m_numChannels, "channels"},
                {&alac->m_maxFrameBytes, "max coded frame size"}, {&alac->m_avgBitRate, "bitrate"},
                {&alac->m_sampleRate, "samplerate"}};
    if (auto* damr = dynamic_cast<const CAMRConfigBox*>(&box))
        return {{&damr->m_decoderVersion, "Encoder version"}, {&damr->m_modeSet, "Packet modes"},
                {&damr->m_modeChangePeriod, "Number of packet mode changes"},
                {&damr->m_framesPerSample, "Samples per packet"}};
    if (auto* chan = dynamic_cast<const CChannelLayoutBox*>(&box))
        return {{&chan->m_layoutTag, "ChannelLayoutTag"}, {&chan->m_channelBitmap, "ChannelBitmap"},
                {&chan->m_descriptionCount, "NumberChannelDescriptions"}};
    auto* esds = dynamic_cast<const ESDescriptorBox*>(&box);
    if (!esds || !esds->m_esDescriptor) return {};
    const CESDescriptor& es = *esds->m_esDescriptor;
    std::vector<std::pair<const uint32_t*, const char*>> fields = {{&es.m_esId, "ES_ID"}, SAME(es, streamPriority)};
    if (const CDecoderConfigDescriptor* c = es.m_decoderConfig.get()) {
        fields.insert(fields.end(), {SAME(*c, objectTypeIndication), SAME(*c, streamType), SAME(*c, bufferSizeDB),
                                     SAME(*c, maxBitrate), SAME(*c, avgBitrate)});
        auto* asc = dynamic_cast<const CAudioSpecificConfig*>(c->m_decoderSpecificInfo.get());
        if (asc)
            fields.insert(fields.end(), {SAME(*asc, audioObjectType), SAME(*asc, samplingFrequencyIndex),
                                         SAME(*asc, channelConfiguration)});
        if (const GASpecificConfig* ga = asc ? asc->m_gaSpecificConfig.get() : nullptr)
            fields.insert(fields.end(),
                          {SAME(*ga, frameLengthFlag), SAME(*ga, dependsOnCoreCoder), SAME(*ga, extensionFlag)});
    }
    return fields;
}
#undef SAME
}  // namespace

TEST(CorpusSampleEntries, EntriesMatchFfprobe) {
    std::map<std::string, int> tally;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::map<uint32_t, Fields> streams = FfprobeStreams(name);
        if (streams.empty()) return;
        for (const CBox* trak : f.All(FourCC("trak"))) CheckTrack(*trak, streams, tally);
    });
    for (const auto& [what, least] : std::map<std::string, int>{
             {"tracks", 109}, {"width", 51}, {"avc profile", 28}, {"hevc profile", 4}, {"aac", 35}, {"mpeg4", 4},
             {"entry channels", 4}, {"entry rate", 4}, {"opus channels", 2}, {"flac bits", 1}, {"alac bits", 1}, {"ac-3 channels", 1}, {"e-ac-3 channels", 1}})
        EXPECT_GE(tally[what], least) << what;
}

TEST(CorpusSampleEntries, RecordAndDescriptorFieldsMatchMediaInfo) {
    int compared = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const auto reference = MediaInfoFields(name);
        if (reference.empty()) return;
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
    });
    EXPECT_GE(compared, 929);
}
