// Codec configuration: what the sample entry says against what the decoder is told.
#include <string>

#include "boxes/descriptors/audio_config.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "check/picture_size.h"
#include "check/check_context.h"
#include "check/rules.h"

namespace {
std::string Num(uint64_t v) { return std::to_string(v); }

const CAudioSpecificConfig* AacConfig(const CBox& entry) {
    for (const CBox* box : BoxesOf(entry, FourCC("esds")))
        if (const auto* esds = dynamic_cast<const ESDescriptorBox*>(box); esds && esds->AudioConfig())
            return esds->AudioConfig();
    return nullptr;
}

// The AAC configuration's rate and channels against the mp4a entry and the media time
// scale. An HE-AAC stream may be told at its core rate or at twice it.
void AacEntry(CheckContext& check, const CAudioSampleEntry& entry, const CMediaHeaderBox* mdhd) {
    const CAudioSpecificConfig* asc = AacConfig(entry);
    if (!asc) return;
    const uint32_t rate = asc->SampleRate();
    auto sameRate = [rate](uint64_t other) { return other == rate || other == 2ull * rate; };
    const uint32_t entryRate = entry.m_sampleRate >> 16;
    // The 16.16 field cannot hold a rate above 65535: such entries say 0 or a part of it.
    if (rate && rate <= 0xffff && entryRate && !sameRate(entryRate))
        check.AddField(Severity::Warning, "aac-sample-rate", entry, entry.m_sampleRate,
                       "the sample entry says " + Num(entryRate) + " Hz; the AAC configuration " + Num(rate) + " Hz");
    // Another time scale is legal (Smooth Streaming counts 100 ns), but frame durations
    // in it are rounded unless it is a multiple of the rate: worth knowing, no fault.
    if (rate && mdhd && mdhd->m_timescale && !sameRate(mdhd->m_timescale) && mdhd->m_timescale % rate != 0)
        check.AddField(Severity::Info, "aac-timescale", *mdhd, mdhd->m_timescale,
                       "the media time scale is " + Num(mdhd->m_timescale) + ", not a multiple of the AAC rate " +
                           Num(rate) + " Hz: frame durations are rounded");
    // 2 is the entry's template value, which MP4 writers keep whatever the stream (a
    // decoder reads the configuration): only another count disagrees.
    const uint32_t channels = asc->Channels();
    if (channels && entry.m_channelCount && entry.m_channelCount != 2 && entry.m_channelCount != channels)
        check.AddField(Severity::Warning, "aac-channels", entry, entry.m_channelCount,
                       "the sample entry says " + Num(entry.m_channelCount) + " channels; the AAC configuration " +
                           Num(channels));
}
// The first SPS of the entry's configuration, avcC's or hvcC's, with its reader and the
// rule and box names that a finding gives.
struct SpsSource {
    const std::vector<uint8_t>* nal = nullptr;
    bool (*read)(const std::vector<uint8_t>&, PictureSize&) = nullptr;
    const char* rule = nullptr;
    const char* box = nullptr;
};

SpsSource FirstSps(const CVisualSampleEntry& entry) {
    if (const auto* avcC = ChildOf<CAVCConfigurationBox>(entry, FourCC("avcC"));
        avcC && avcC->m_record && !avcC->m_record->m_sequenceParameterSets.empty())
        return {&avcC->m_record->m_sequenceParameterSets.front().bytes, ReadAvcPictureSize, "avc-dimensions", "avcC"};
    if (const auto* hvcC = ChildOf<CHEVCConfigurationBox>(entry, FourCC("hvcC")); hvcC && hvcC->m_record)
        for (const auto& array : hvcC->m_record->m_arrays)
            if (array.nalUnitType == 33 && !array.nalUnits.empty())
                return {&array.nalUnits.front().bytes, ReadHevcPictureSize, "hevc-dimensions", "hvcC"};
    return {};
}

// The entry's width and height are the picture's that the first SPS of its
// configuration gives.
void PictureEntry(CheckContext& check, const CVisualSampleEntry& entry) {
    const SpsSource sps = FirstSps(entry);
    PictureSize size;
    if (!sps.nal || !sps.read(*sps.nal, size)) return;
    if (entry.m_width == size.width && entry.m_height == size.height) return;
    check.Add(Severity::Warning, sps.rule, entry,
              check.SpanOf(entry, &entry.m_width, sizeof entry.m_width)
                  .Union(check.SpanOf(entry, &entry.m_height, sizeof entry.m_height)),
              "the sample entry says " + Num(entry.m_width) + "x" + Num(entry.m_height) + "; the SPS of its '" +
                  sps.box + "' " + Num(size.width) + "x" + Num(size.height));
}
}  // namespace

void CheckCodecs(CheckContext& check) {
    for (const CBox* top : check.Tops()) {
        if (top->m_type != FourCC("moov")) continue;
        for (const auto& trak : top->m_children) {
            if (!trak || trak->m_type != FourCC("trak")) continue;
            const auto mdhds = BoxesOf(*trak, FourCC("mdhd"));
            const auto* mdhd = mdhds.empty() ? nullptr : dynamic_cast<const CMediaHeaderBox*>(mdhds.front());
            for (const CBox* stsd : BoxesOf(*trak, FourCC("stsd")))
                for (const auto& entry : stsd->m_children)
                    if (const auto* audio = dynamic_cast<const CAudioSampleEntry*>(entry.get()))
                        AacEntry(check, *audio, mdhd);
                    else if (const auto* visual = dynamic_cast<const CVisualSampleEntry*>(entry.get()))
                        PictureEntry(check, *visual);
        }
    }
}
