#include "report/codec_string.h"

#include <cstring>

#include "boxes/descriptors/audio_config.h"
#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/dolby_vision_configuration_box.h"
#include "boxes/videocodecs/vp_configuration_box.h"
#include "boxes/protection/protection_boxes.h"
#include "report/format.h"

namespace {
// The first child of `box` of `type`, looking into a QuickTime wave too (a sound
// description keeps its esds there).
const CBox* FindConfig(const CBox& box, uint32_t type) {
    for (const auto& child : box.m_children) {
        if (child->m_type == type) return child.get();
        if (child->m_type == FourCC("wave"))
            for (const auto& inner : child->m_children)
                if (inner->m_type == type) return inner.get();
    }
    return nullptr;
}

std::string AvcString(const std::string& code, const CAVCConfigurationBox& box) {
    if (!box.m_record) return code;
    const CAVCDecoderConfigurationRecord& r = *box.m_record;
    return code + Format(".%02X%02X%02X", r.m_AVCProfileIndication & 0xFF, r.m_profileCompatibility & 0xFF,
                         r.m_AVCLevelIndication & 0xFF);
}

// The profile space as a letter ("" for 0), the profile, the compatibility flags in
// reverse bit order, tier and level, then the six constraint bytes without trailing zeros.
std::string HevcString(const std::string& code, const CHEVCConfigurationBox& box) {
    if (!box.m_record) return code;
    const CHEVCDecoderConfigurationRecord& r = *box.m_record;
    static const char* const kSpace[] = {"", "A", "B", "C"};
    uint32_t reversed = 0;
    for (int bit = 0; bit < 32; ++bit)
        if (r.m_generalProfileCompatibilityFlags & (1u << bit)) reversed |= 1u << (31 - bit);
    std::string s = code + Format(".%s%u.%X.%c%u", kSpace[r.m_generalProfileSpace & 3], r.m_generalProfileIdc,
                                  reversed, r.m_generalTierFlag ? 'H' : 'L', r.m_generalLevelIdc);
    const uint64_t constraints = uint64_t{r.m_progressiveSourceFlag & 1} << 47 |
                                 uint64_t{r.m_interlacedSourceFlag & 1} << 46 |
                                 uint64_t{r.m_nonPackedConstraintFlag & 1} << 45 |
                                 uint64_t{r.m_frameOnlyConstraintFlag & 1} << 44 |
                                 (r.m_constraintIndicatorFlags & 0xFFFFFFFFFFFull);
    int bytes = 6;
    while (bytes > 0 && ((constraints >> (8 * (6 - bytes))) & 0xFF) == 0) --bytes;
    for (int i = 0; i < bytes; ++i) s += Format(".%X", unsigned((constraints >> (8 * (5 - i))) & 0xFF));
    return s;
}

// The profile and level indication of an MPEG-4 visual configuration: the byte after
// its visual object sequence start code; -1 without one.
int VisualProfileLevel(const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i + 4 < bytes.size(); ++i)
        if (bytes[i] == 0 && bytes[i + 1] == 0 && bytes[i + 2] == 1 && bytes[i + 3] == 0xB0) return bytes[i + 4];
    return -1;
}

// mp4a and mp4v (and any entry holding an esds): the object type in hex, then the audio
// object type of MPEG-4 audio or the profile and level of MPEG-4 visual.
std::string EsdsString(const std::string& code, const ESDescriptorBox& box) {
    if (!box.m_esDescriptor || !box.m_esDescriptor->m_decoderConfig) return code;
    const CDecoderConfigDescriptor& config = *box.m_esDescriptor->m_decoderConfig;
    const uint32_t oti = config.m_objectTypeIndication;
    std::string s = code + Format(".%02X", oti);
    const CDecoderSpecificInfo* info = config.m_decoderSpecificInfo.get();
    if (oti == 0x40) {
        if (auto* asc = dynamic_cast<const CAudioSpecificConfig*>(info))
            s += Format(".%u", asc->m_sbrFlag ? asc->m_extensionAudioObjectType : asc->m_audioObjectType);
    } else if (oti == 0x20 && info) {
        if (const int pli = VisualProfileLevel(info->m_bytes); pli >= 0) s += Format(".%d", pli);
    }
    return s;
}

// Profile, level and tier, bit depth; with a colour description in the sequence header,
// monochrome, chroma subsampling and sample position, the colour description and range.
std::string Av1String(const std::string& code, const CAV1ConfigurationBox& box) {
    if (!box.m_hasRecord) return code;
    const Av1SequenceHeader* seq = box.SequenceHeader();
    const uint32_t depth = box.m_twelveBit ? 12 : box.m_highBitdepth ? 10 : 8;
    std::string s = code + Format(".%u.%02u%c.%02u", box.m_seqProfile, box.m_seqLevelIdx0, box.m_seqTier0 ? 'H' : 'M', depth);
    if (seq && seq->m_colourDescriptionPresent)
        s += Format(".%u.%u%u%u.%02u.%02u.%02u.%u", box.m_monochrome, box.m_chromaSubsamplingX, box.m_chromaSubsamplingY,
                    box.m_chromaSamplePosition, seq->m_colourPrimaries, seq->m_transferCharacteristics,
                    seq->m_matrixCoefficients, seq->m_colourRange);
    return s;
}

std::string VpString(const std::string& code, const CVPConfigurationBox& box) {
    if (box.m_version != 1) return code;
    return code + Format(".%02u.%02u.%02u", box.m_profile, box.m_level, box.m_bitDepth);
}

// Dolby Vision: profile and level.
std::string DolbyVisionString(const std::string& code, const CDolbyVisionConfigurationBox& box) {
    return code + Format(".%02u.%02u", box.m_profile, box.m_level);
}

// The codes whose manifest name differs from the entry's code.
std::string PlainCode(uint32_t type) {
    if (type == FourCC("Opus")) return "opus";
    return FourCCText(type);
}
}  // namespace

const CBox* CodecConfiguration(const CBox& entry) {
    // A Dolby Vision entry (dvh1, dvhe, dvav, dva1, dav1) names its own configuration;
    // another entry holding one names the base layer's.
    const bool dolbyVision = entry.m_type == FourCC("dvh1") || entry.m_type == FourCC("dvhe") ||
                             entry.m_type == FourCC("dvav") || entry.m_type == FourCC("dva1") ||
                             entry.m_type == FourCC("dav1");
    if (dolbyVision)
        for (uint32_t type : {FourCC("dvcC"), FourCC("dvvC")})
            if (const CBox* box = FindConfig(entry, type)) return box;
    for (uint32_t type : {FourCC("avcC"), FourCC("hvcC"), FourCC("esds"), FourCC("av1C"), FourCC("vpcC")})
        if (const CBox* box = FindConfig(entry, type)) return box;
    return nullptr;
}

std::string CodecString(const CBox& entry) {
    // A protected entry is named by the format it protects.
    const std::string code = PlainCode(OriginalFormatOf(entry));
    const CBox* config = CodecConfiguration(entry);
    if (auto* avc = dynamic_cast<const CAVCConfigurationBox*>(config)) return AvcString(code, *avc);
    if (auto* hevc = dynamic_cast<const CHEVCConfigurationBox*>(config)) return HevcString(code, *hevc);
    if (auto* esds = dynamic_cast<const ESDescriptorBox*>(config)) return EsdsString(code, *esds);
    if (auto* av1 = dynamic_cast<const CAV1ConfigurationBox*>(config)) return Av1String(code, *av1);
    if (auto* vp = dynamic_cast<const CVPConfigurationBox*>(config)) return VpString(code, *vp);
    if (auto* dv = dynamic_cast<const CDolbyVisionConfigurationBox*>(config)) return DolbyVisionString(code, *dv);
    return code;
}
