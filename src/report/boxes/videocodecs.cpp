// The pages of the video configuration boxes (av1C, vpcC, dvcC, dvvC) and of the boxes
// that tell a picture's colours, HDR mastering, fields and coding constraints.
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/coding_constraints_box.h"
#include "boxes/videocodecs/colour_information_box.h"
#include "boxes/videocodecs/content_light_box.h"
#include "boxes/videocodecs/content_light_level_box.h"
#include "boxes/videocodecs/dolby_vision_configuration_box.h"
#include "boxes/videocodecs/field_handling_box.h"
#include "boxes/videocodecs/h263_config_box.h"
#include "boxes/videocodecs/mastering_display_box.h"
#include "boxes/videocodecs/smpte_mastering_box.h"
#include "boxes/videocodecs/vp_configuration_box.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {

// "9 (0X09) BT.2020": a coded field, its meaning beside it when there is one. `hexDigits`
// follows the field's width (2 up to 8 bits, 4 up to 16, else 8).
void Coded(PageBuilder& page, std::string label, const uint32_t& field, int hexDigits, const char* meaning) {
    std::string value = hexDigits == 2 ? U32Text2(field) : hexDigits == 4 ? U32Text4(field) : U32Text(field);
    if (*meaning) value += std::string(" ") + meaning;
    page.Row(std::move(label), value, {field});
}

// The code points of ISO/IEC 23091-2 (ITU-T H.273), shared by colr, av1C and vpcC.
const char* PrimariesName(uint32_t v) {
    static const char* const kNames[] = {
        "reserved", "BT.709", "unspecified", "reserved", "BT.470 System M", "BT.470 System B, G (BT.601 625)",
        "BT.601 525 (SMPTE 170M)", "SMPTE 240M", "generic film", "BT.2020", "SMPTE ST 428-1 (XYZ)",
        "SMPTE RP 431-2 (DCI-P3)", "SMPTE EG 432-1 (Display P3)", nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr, nullptr, "EBU Tech 3213-E"};
    return NameOf(kNames, v);
}
const char* TransferName(uint32_t v) {
    static const char* const kNames[] = {
        "reserved", "BT.709", "unspecified", "reserved", "BT.470 System M (gamma 2.2)",
        "BT.470 System B, G (gamma 2.8)", "BT.601", "SMPTE 240M", "linear", "logarithmic (100:1)",
        "logarithmic (316:1)", "IEC 61966-2-4 (xvYCC)", "BT.1361", "IEC 61966-2-1 (sRGB)", "BT.2020 10-bit",
        "BT.2020 12-bit", "SMPTE ST 2084 (PQ)", "SMPTE ST 428-1", "ARIB STD-B67 (HLG)"};
    return NameOf(kNames, v);
}
const char* MatrixName(uint32_t v) {
    static const char* const kNames[] = {
        "identity (RGB)", "BT.709", "unspecified", "reserved", "FCC", "BT.470 System B, G (BT.601 625)",
        "BT.601 (SMPTE 170M)", "SMPTE 240M", "YCgCo", "BT.2020 non-constant luminance",
        "BT.2020 constant luminance", "SMPTE ST 2085", "chromaticity-derived non-constant luminance",
        "chromaticity-derived constant luminance", "BT.2100 ICtCp"};
    return NameOf(kNames, v);
}
const char* RangeName(uint32_t v) { return v ? "full" : "limited"; }

void ColourRows(PageBuilder& page, const uint32_t& primaries, const uint32_t& transfer, const uint32_t& matrix,
                int hexDigits) {
    Coded(page, "Colour primaries", primaries, hexDigits, PrimariesName(primaries));
    Coded(page, "Transfer characteristics", transfer, hexDigits, TransferName(transfer));
    Coded(page, "Matrix coefficients", matrix, hexDigits, MatrixName(matrix));
}

// ---- av1C

const char* Av1ProfileName(uint32_t v) {
    static const char* const kNames[] = {"Main", "High", "Professional"};
    return NameOf(kNames, v);
}
// seq_level_idx: level X.Y is (X - 2) * 4 + Y; 31 is no level restriction.
std::string Av1LevelName(uint32_t idx) {
    if (idx == 31) return "no level restriction";
    return idx < 24 ? Format("level %u.%u", 2 + idx / 4, idx % 4) : "";
}
const char* Av1SamplePositionName(uint32_t v) {
    static const char* const kNames[] = {"unknown", "vertical (left)", "colocated (top left)", "reserved"};
    return NameOf(kNames, v);
}
const char* ObuTypeName(uint32_t v) {
    static const char* const kNames[] = {"reserved", "sequence header", "temporal delimiter", "frame header",
                                         "tile group", "metadata", "frame", "redundant frame header",
                                         "tile list", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                         "padding"};
    return NameOf(kNames, v);
}
const char* TierName(uint32_t v) { return v ? "High" : "Main"; }

void OperatingPointRows(PageBuilder& page, const Av1SequenceHeader& s) {
    for (size_t i = 0; i < s.m_operatingPoints.size(); ++i) {
        const Av1SequenceHeader::OperatingPoint& op = s.m_operatingPoints[i];
        if (!s.m_reducedStillPictureHeader) page.U32x4(Format("Operating point idc (%zu)", i), op.idc);
        Coded(page, Format("Seq level idx (%zu)", i), op.level, 2, Av1LevelName(op.level).c_str());
        if (op.level > 7 && !s.m_reducedStillPictureHeader)
            Coded(page, Format("Seq tier (%zu)", i), op.tier, 2, TierName(op.tier));
        if (s.m_decoderModelInfoPresent) {
            page.U32x2(Format("Decoder model present for this op (%zu)", i), op.decoderModelPresent);
            if (op.decoderModelPresent) {
                page.U32(Format("Decoder buffer delay (%zu)", i), op.decoderBufferDelay);
                page.U32(Format("Encoder buffer delay (%zu)", i), op.encoderBufferDelay);
                page.U32x2(Format("Low delay mode flag (%zu)", i), op.lowDelayMode);
            }
        }
        if (s.m_initialDisplayDelayPresent) {
            page.U32x2(Format("Initial display delay present for this op (%zu)", i), op.initialDisplayDelayPresent);
            if (op.initialDisplayDelayPresent)
                page.U32x2(Format("Initial display delay minus 1 (%zu)", i), op.initialDisplayDelayMinusOne);
        }
    }
}

void SequenceHeaderRows(PageBuilder& page, const Av1SequenceHeader& s) {
    page.Table("Sequence Header OBU");
    Coded(page, "Seq profile", s.m_seqProfile, 2, Av1ProfileName(s.m_seqProfile));
    page.U32x2("Still picture", s.m_stillPicture);
    page.U32x2("Reduced still picture header", s.m_reducedStillPictureHeader);
    if (!s.m_reducedStillPictureHeader) {
        page.U32x2("Timing info present flag", s.m_timingInfoPresent);
        if (s.m_timingInfoPresent) {
            page.U32("Num units in display tick", s.m_numUnitsInDisplayTick);
            page.U32("Time scale", s.m_timeScale);
            page.U32x2("Equal picture interval", s.m_equalPictureInterval);
            if (s.m_equalPictureInterval)
                page.Derived("Num ticks per picture minus 1", U32Text(s.m_numTicksPerPictureMinusOne),
                             {s.m_numTicksPerPictureMinusOne});
            page.U32x2("Decoder model info present flag", s.m_decoderModelInfoPresent);
            if (s.m_decoderModelInfoPresent) {
                page.U32x2("Buffer delay length minus 1", s.m_bufferDelayLengthMinusOne);
                page.U32("Num units in decoding tick", s.m_numUnitsInDecodingTick);
                page.U32x2("Buffer removal time length minus 1", s.m_bufferRemovalTimeLengthMinusOne);
                page.U32x2("Frame presentation time length minus 1", s.m_framePresentationTimeLengthMinusOne);
            }
        }
        page.U32x2("Initial display delay present flag", s.m_initialDisplayDelayPresent);
        page.U32x2("Operating points cnt minus 1", s.m_operatingPointsCountMinusOne);
    }
    OperatingPointRows(page, s);
    page.U32x2("Frame width bits minus 1", s.m_frameWidthBitsMinusOne);
    page.U32x2("Frame height bits minus 1", s.m_frameHeightBitsMinusOne);
    Coded(page, "Max frame width minus 1", s.m_maxFrameWidthMinusOne, 8,
          Format("width %llu", s.m_maxFrameWidthMinusOne + 1ull).c_str());
    Coded(page, "Max frame height minus 1", s.m_maxFrameHeightMinusOne, 8,
          Format("height %llu", s.m_maxFrameHeightMinusOne + 1ull).c_str());
    if (!s.m_reducedStillPictureHeader) page.U32x2("Frame id numbers present flag", s.m_frameIdNumbersPresent);
    if (s.m_frameIdNumbersPresent) {
        page.U32x2("Delta frame id length minus 2", s.m_deltaFrameIdLengthMinusTwo);
        page.U32x2("Additional frame id length minus 1", s.m_additionalFrameIdLengthMinusOne);
    }
    page.U32x2("Use 128x128 superblock", s.m_use128x128Superblock);
    page.U32x2("Enable filter intra", s.m_enableFilterIntra);
    page.U32x2("Enable intra edge filter", s.m_enableIntraEdgeFilter);
    if (!s.m_reducedStillPictureHeader) {
        page.U32x2("Enable interintra compound", s.m_enableInterintraCompound);
        page.U32x2("Enable masked compound", s.m_enableMaskedCompound);
        page.U32x2("Enable warped motion", s.m_enableWarpedMotion);
        page.U32x2("Enable dual filter", s.m_enableDualFilter);
        page.U32x2("Enable order hint", s.m_enableOrderHint);
        if (s.m_enableOrderHint) {
            page.U32x2("Enable jnt comp", s.m_enableJntComp);
            page.U32x2("Enable ref frame mvs", s.m_enableRefFrameMvs);
        }
        page.U32x2("Seq choose screen content tools", s.m_seqChooseScreenContentTools);
        if (!s.m_seqChooseScreenContentTools) page.U32x2("Seq force screen content tools", s.m_seqForceScreenContentTools);
        if (s.m_seqForceScreenContentTools > 0) {
            page.U32x2("Seq choose integer mv", s.m_seqChooseIntegerMv);
            if (!s.m_seqChooseIntegerMv) page.U32x2("Seq force integer mv", s.m_seqForceIntegerMv);
        }
        if (s.m_enableOrderHint) page.U32x2("Order hint bits minus 1", s.m_orderHintBitsMinusOne);
    }
    page.U32x2("Enable superres", s.m_enableSuperres);
    page.U32x2("Enable cdef", s.m_enableCdef);
    page.U32x2("Enable restoration", s.m_enableRestoration);

    page.Table("Colour Config");
    page.U32x2("High bitdepth", s.m_highBitdepth);
    if (s.m_seqProfile == 2 && s.m_highBitdepth) page.U32x2("Twelve bit", s.m_twelveBit);
    page.Derived("Bit depth", Decimal(uint64_t{s.BitDepth()}), {s.m_seqProfile, s.m_highBitdepth, s.m_twelveBit});
    if (s.m_seqProfile != 1) page.U32x2("Mono chrome", s.m_monochrome);
    page.U32x2("Colour description present flag", s.m_colourDescriptionPresent);
    if (s.m_colourDescriptionPresent)
        ColourRows(page, s.m_colourPrimaries, s.m_transferCharacteristics, s.m_matrixCoefficients, 2);
    if (s.m_colourRangeRead) Coded(page, "Colour range", s.m_colourRange, 2, RangeName(s.m_colourRange));
    else page.Derived("Colour range", "1 (0X01) full, as sRGB implies", {s.m_colourPrimaries, s.m_matrixCoefficients});
    if (s.m_subsamplingRead) {
        page.U32x2("Subsampling x", s.m_subsamplingX);
        if (s.m_subsamplingX) page.U32x2("Subsampling y", s.m_subsamplingY);
    }
    static const char* const kFormats[] = {"4:4:4", "4:4:0", "4:2:2", "4:2:0"};
    page.Derived("Chroma subsampling", s.m_monochrome ? "monochrome" : kFormats[(s.m_subsamplingX & 1) * 2 + (s.m_subsamplingY & 1)],
                 {s.m_seqProfile, s.m_monochrome, s.m_subsamplingX, s.m_subsamplingY});
    if (s.m_chromaSamplePositionRead)
        Coded(page, "Chroma sample position", s.m_chromaSamplePosition, 2, Av1SamplePositionName(s.m_chromaSamplePosition));
    if (!s.m_monochrome) page.U32x2("Separate uv delta q", s.m_separateUvDeltaQ);
    page.U32x2("Film grain params present", s.m_filmGrainParamsPresent);
}

void Av1ConfigurationRows(PageBuilder& page, const CAV1ConfigurationBox& b) {
    if (!b.m_hasRecord) return;
    page.Table();
    page.U32x2("Marker", b.m_marker);
    page.U32x2("Version", b.m_version);
    Coded(page, "Seq profile", b.m_seqProfile, 2, Av1ProfileName(b.m_seqProfile));
    Coded(page, "Seq level idx 0", b.m_seqLevelIdx0, 2, Av1LevelName(b.m_seqLevelIdx0).c_str());
    Coded(page, "Seq tier 0", b.m_seqTier0, 2, TierName(b.m_seqTier0));
    page.U32x2("High bitdepth", b.m_highBitdepth);
    page.U32x2("Twelve bit", b.m_twelveBit);
    page.U32x2("Monochrome", b.m_monochrome);
    page.U32x2("Chroma subsampling x", b.m_chromaSubsamplingX);
    page.U32x2("Chroma subsampling y", b.m_chromaSubsamplingY);
    Coded(page, "Chroma sample position", b.m_chromaSamplePosition, 2, Av1SamplePositionName(b.m_chromaSamplePosition));
    page.U32x2("Reserved", b.m_reserved);
    page.U32x2("Initial presentation delay present", b.m_initialPresentationDelayPresent);
    page.U32x2(b.m_initialPresentationDelayPresent ? "Initial presentation delay minus 1" : "Reserved",
               b.m_initialPresentationDelayMinusOne);
    size_t i = 0;
    for (const Av1ConfigObu& obu : b.m_configObus) {
        page.Table(Format("Configuration OBU (%zu)", i++));
        page.U32x2("Forbidden bit", obu.forbiddenBit);
        Coded(page, "OBU type", obu.type, 2, ObuTypeName(obu.type));
        page.U32x2("Extension flag", obu.extensionFlag);
        page.U32x2("Has size field", obu.hasSizeField);
        page.U32x2("Reserved", obu.reserved);
        if (obu.extensionFlag) {
            page.U32x2("Temporal id", obu.temporalId);
            page.U32x2("Spatial id", obu.spatialId);
            page.U32x2("Extension reserved", obu.extensionReserved);
        }
        // leb128: its bytes are not the number as it stands.
        page.Derived("OBU size", U64Text(obu.size), {obu.size});
        if (!obu.sequenceHeader && obu.size)
            page.Derived("OBU payload", Format("%llu bytes", static_cast<unsigned long long>(obu.size)), {obu.payload});
        if (obu.sequenceHeader) SequenceHeaderRows(page, *obu.sequenceHeader);
    }
    if (b.m_moreObusBytes) {
        page.Table("Further OBUs");
        page.Derived("OBUs", Format("%llu bytes, not decoded", static_cast<unsigned long long>(b.m_moreObusBytes)),
                     {b.m_moreObusBytes});
    }
}

// ---- vpcC

const char* VpChromaName(uint32_t v) {
    static const char* const kNames[] = {"4:2:0 vertical", "4:2:0 colocated with luma", "4:2:2", "4:4:4"};
    return NameOf(kNames, v);
}
// A VP9 level as a number: 10 is level 1, 11 level 1.1.
std::string VpLevelName(uint32_t level) {
    if (level == 0) return "";
    return level % 10 ? Format("level %u.%u", level / 10, level % 10) : Format("level %u", level / 10);
}

void VpConfigurationRows(PageBuilder& page, const CVPConfigurationBox& b) {
    if (b.m_version != 1) return;
    page.Table();
    page.U32x2("Profile", b.m_profile);
    Coded(page, "Level", b.m_level, 2, VpLevelName(b.m_level).c_str());
    page.U32x2("Bit depth", b.m_bitDepth);
    Coded(page, "Chroma subsampling", b.m_chromaSubsampling, 2, VpChromaName(b.m_chromaSubsampling));
    Coded(page, "Video full range flag", b.m_videoFullRangeFlag, 2, RangeName(b.m_videoFullRangeFlag));
    ColourRows(page, b.m_colourPrimaries, b.m_transferCharacteristics, b.m_matrixCoefficients, 2);
    page.U32x4("Codec initialization data size", b.m_codecInitializationDataSize);
    if (!b.m_codecInitializationData.empty())
        page.Row("Codec initialization data",
                 FormatBytesText(b.m_codecInitializationData.data(), b.m_codecInitializationData.size()),
                 {b.m_codecInitializationData});
}

// ---- colr

const char* IccClassName(uint32_t code) {
    switch (code) {
        case FourCC("scnr"): return "input device";
        case FourCC("mntr"): return "display device";
        case FourCC("prtr"): return "output device";
        case FourCC("link"): return "device link";
        case FourCC("spac"): return "colour space";
        case FourCC("abst"): return "abstract";
        case FourCC("nmcl"): return "named colour";
        default: return "";
    }
}
const char* RenderingIntentName(uint32_t v) {
    static const char* const kNames[] = {"perceptual", "media-relative colorimetric", "saturation",
                                         "ICC-absolute colorimetric"};
    return NameOf(kNames, v);
}

void IccRows(PageBuilder& page, const IccProfileHeader& h) {
    page.Table("ICC Profile Header");
    page.U32("Profile size", h.m_profileSize);
    page.Code("Preferred CMM type", h.m_cmmType);
    page.Row("Profile version",
             Format("%u (0X%08X) %u.%u.%u", h.m_version, h.m_version, h.m_version >> 24, (h.m_version >> 20) & 0xF,
                    (h.m_version >> 16) & 0xF),
             {h.m_version});
    page.Row("Device class", CodeText(h.m_deviceClass) + (*IccClassName(h.m_deviceClass) ? " " : "") +
                                 IccClassName(h.m_deviceClass),
             {h.m_deviceClass});
    page.Code("Colour space", h.m_colourSpace);
    page.Code("Profile connection space", h.m_connectionSpace);
    const uint32_t* d = h.m_dateTime;
    page.Derived("Date and time", Format("%04u/%02u/%02u %02u:%02u:%02u", d[0], d[1], d[2], d[3], d[4], d[5]),
                 {h.m_dateTime});
    page.Code("Profile file signature", h.m_signature);
    page.Code("Primary platform", h.m_platform);
    page.U32("Profile flags", h.m_flags);
    page.Code("Device manufacturer", h.m_manufacturer);
    page.Code("Device model", h.m_model);
    page.U64("Device attributes", h.m_attributes);
    Coded(page, "Rendering intent", h.m_renderingIntent, 8, RenderingIntentName(h.m_renderingIntent));
    page.Derived("PCS illuminant",
                 FixedText(SignExtend(h.m_illuminant[0], 32), 16) + " " + FixedText(SignExtend(h.m_illuminant[1], 32), 16) +
                     " " + FixedText(SignExtend(h.m_illuminant[2], 32), 16),
                 {h.m_illuminant});
    page.Code("Profile creator", h.m_creator);
    page.Row("Profile ID", FormatBytesText(h.m_profileId.data(), h.m_profileId.size()), {h.m_profileId});
    page.Row("Reserved", FormatBytesText(h.m_reserved.data(), h.m_reserved.size()), {h.m_reserved});
    page.U32("Tag count", h.m_tagCount);
    page.List("Tag Table", {"Signature", "Offset", "Size"});
    for (const IccProfileHeader::Tag& tag : h.m_tags)
        page.ListEntry({FourCCValue(tag.signature), Decimal(uint64_t{tag.offset}), Decimal(uint64_t{tag.size})}, {tag});
    page.Table("ICC Profile Data");
    page.Derived("Tag data", "the profile's tags, not decoded", {h.m_tagData});
}

void ColourInformationRows(PageBuilder& page, const CColourInformationBox& b) {
    page.Table();
    page.Code("Colour type", b.m_colourType);
    if (b.IsNcl()) ColourRows(page, b.m_colourPrimaries, b.m_transferCharacteristics, b.m_matrixCoefficients, 4);
    if (b.m_hasRangeByte) {
        Coded(page, "Full range flag", b.m_fullRangeFlag, 2, RangeName(b.m_fullRangeFlag));
        page.U32x2("Reserved", b.m_reserved);
    }
    if (b.m_icc) IccRows(page, *b.m_icc);
}

// ---- HDR

// A chromaticity coordinate in units of 0.00002.
std::string Chromaticity(uint32_t v) { return U32Text4(v) + Format(" %.5f", v * 0.00002); }

void MasteringDisplayRows(PageBuilder& page, const CMasteringDisplayBox& b) {
    page.Table();
    // The primaries in the order of the HEVC SEI message: green, blue, red.
    static const char* const kColours[] = {"green", "blue", "red"};
    for (int c = 0; c < 3; ++c) {
        page.Row(Format("Display primaries x (%d, %s)", c, kColours[c]), Chromaticity(b.m_primaries[c][0]), {b.m_primaries[c][0]});
        page.Row(Format("Display primaries y (%d, %s)", c, kColours[c]), Chromaticity(b.m_primaries[c][1]), {b.m_primaries[c][1]});
    }
    page.Row("White point x", Chromaticity(b.m_whitePoint[0]), {b.m_whitePoint[0]});
    page.Row("White point y", Chromaticity(b.m_whitePoint[1]), {b.m_whitePoint[1]});
    page.Row("Max display mastering luminance", U32Text(b.m_maxLuminance) + Format(" %.4f cd/m2", b.m_maxLuminance * 0.0001),
             {b.m_maxLuminance});
    page.Row("Min display mastering luminance", U32Text(b.m_minLuminance) + Format(" %.4f cd/m2", b.m_minLuminance * 0.0001),
             {b.m_minLuminance});
}

void ContentLightLevelRows(PageBuilder& page, const CContentLightLevelBox& b) {
    page.Table();
    page.Row("Max content light level", U32Text4(b.m_maxContentLightLevel) + " cd/m2", {b.m_maxContentLightLevel});
    page.Row("Max pic average light level", U32Text4(b.m_maxPicAverageLightLevel) + " cd/m2", {b.m_maxPicAverageLightLevel});
}

void SmpteMasteringRows(PageBuilder& page, const CSmpteMasteringBox& b) {
    page.Table();
    static const char* const kColours[] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        page.Row(Format("Primary %s chromaticity x", kColours[c]),
                 U32Text4(b.m_primaries[c][0]) + " " + FixedText(b.m_primaries[c][0], 16), {b.m_primaries[c][0]});
        page.Row(Format("Primary %s chromaticity y", kColours[c]),
                 U32Text4(b.m_primaries[c][1]) + " " + FixedText(b.m_primaries[c][1], 16), {b.m_primaries[c][1]});
    }
    page.Row("White point chromaticity x", U32Text4(b.m_whitePoint[0]) + " " + FixedText(b.m_whitePoint[0], 16),
             {b.m_whitePoint[0]});
    page.Row("White point chromaticity y", U32Text4(b.m_whitePoint[1]) + " " + FixedText(b.m_whitePoint[1], 16),
             {b.m_whitePoint[1]});
    page.Row("Luminance max", U32Text(b.m_luminanceMax) + " " + FixedText(b.m_luminanceMax, 8) + " cd/m2", {b.m_luminanceMax});
    page.Row("Luminance min", U32Text(b.m_luminanceMin) + " " + FixedText(b.m_luminanceMin, 14) + " cd/m2", {b.m_luminanceMin});
}

void ContentLightRows(PageBuilder& page, const CContentLightBox& b) {
    page.Table();
    page.Row("Max CLL", U32Text4(b.m_maxCLL) + " cd/m2", {b.m_maxCLL});
    page.Row("Max FALL", U32Text4(b.m_maxFALL) + " cd/m2", {b.m_maxFALL});
}

// ---- fiel, ccst, dvcC

const char* FieldOrderingName(uint32_t v) {
    switch (v) {
        case 0: return "unknown or progressive";
        case 1: return "top field first";
        case 6: return "bottom field first";
        case 9: return "top field first, fields stored separately";
        case 14: return "bottom field first, fields stored separately";
        default: return "";
    }
}

// The H.263 profiles of ITU-T H.263 Annex X.
const char* const kH263Profiles[] = {"Baseline", "H.320 coding efficiency version 2 backward compatibility",
                                     "Version 1 backward compatibility",
                                     "Version 2 interactive and streaming wireless",
                                     "Version 3 interactive and streaming wireless", "Conversational high compression",
                                     "Conversational Internet", "Conversational interlace", "High latency"};

void H263Rows(PageBuilder& page, const CH263ConfigBox& b) {
    page.Table();
    page.Code("Vendor", b.m_vendor);
    page.U32x2("Decoder version", b.m_decoderVersion);
    page.U32x2("H263 level", b.m_level);
    Coded(page, "H263 profile", b.m_profile, 2, NameOf(kH263Profiles, b.m_profile));
}

void FieldHandlingRows(PageBuilder& page, const CFieldHandlingBox& b) {
    page.Table();
    Coded(page, "Field count", b.m_fieldCount, 2, b.m_fieldCount == 1 ? "progressive" : b.m_fieldCount == 2 ? "interlaced" : "");
    Coded(page, "Field ordering", b.m_fieldOrdering, 2, FieldOrderingName(b.m_fieldOrdering));
}

void CodingConstraintsRows(PageBuilder& page, const CCodingConstraintsBox& b) {
    page.Table();
    page.U32x2("All ref pics intra", b.m_allRefPicsIntra);
    page.U32x2("Intra pred used", b.m_intraPredUsed);
    Coded(page, "Max ref per pic", b.m_maxRefPerPic, 2, b.m_maxRefPerPic == 15 ? "any number" : "");
    page.U32("Reserved", b.m_reserved);
}

// What a base layer decodes as without the enhancement.
const char* DolbyVisionCompatibilityName(uint32_t v) {
    static const char* const kNames[] = {"none", "HDR10", "SDR, BT.709", nullptr, "HLG", nullptr, "BT.2100 PQ, Blu-ray"};
    return NameOf(kNames, v);
}

void DolbyVisionRows(PageBuilder& page, const CDolbyVisionConfigurationBox& b) {
    page.Table();
    page.U32x2("DV version major", b.m_versionMajor);
    page.U32x2("DV version minor", b.m_versionMinor);
    page.U32x2("DV profile", b.m_profile);
    page.U32x2("DV level", b.m_level);
    page.U32x2("RPU present flag", b.m_rpuPresent);
    page.U32x2("EL present flag", b.m_elPresent);
    page.U32x2("BL present flag", b.m_blPresent);
    Coded(page, "DV BL signal compatibility id", b.m_blSignalCompatibilityId, 2,
          DolbyVisionCompatibilityName(b.m_blSignalCompatibilityId));
    page.U32("Reserved", b.m_reserved);
    page.Derived("Reserved", WordsText(b.m_reserved2, 4), {b.m_reserved2});
}

constexpr BoxEntry kEntries[] = {
    {FourCC("av1C"), "AV1 Configuration Box", nullptr, RowsOf<CAV1ConfigurationBox, Av1ConfigurationRows>},
    {FourCC("vpcC"), "VP Codec Configuration Box", nullptr, RowsOf<CVPConfigurationBox, VpConfigurationRows>},
    {FourCC("colr"), "Colour Information Box", nullptr, RowsOf<CColourInformationBox, ColourInformationRows>},
    {FourCC("mdcv"), "Mastering Display Colour Volume Box", nullptr, RowsOf<CMasteringDisplayBox, MasteringDisplayRows>},
    {FourCC("clli"), "Content Light Level Box", nullptr, RowsOf<CContentLightLevelBox, ContentLightLevelRows>},
    {FourCC("SmDm"), "SMPTE 2086 Mastering Display Metadata Box", nullptr, RowsOf<CSmpteMasteringBox, SmpteMasteringRows>},
    {FourCC("CoLL"), "Content Light Level Info Box", nullptr, RowsOf<CContentLightBox, ContentLightRows>},
    {FourCC("fiel"), "Field Handling Box", nullptr, RowsOf<CFieldHandlingBox, FieldHandlingRows>},
    {FourCC("d263"), "H263 Configuration Box", nullptr, RowsOf<CH263ConfigBox, H263Rows>},
    {FourCC("ccst"), "Coding Constraints Box", nullptr, RowsOf<CCodingConstraintsBox, CodingConstraintsRows>},
    {FourCC("dvcC"), "Dolby Vision Configuration Box", nullptr, RowsOf<CDolbyVisionConfigurationBox, DolbyVisionRows>},
    {FourCC("dvvC"), "Dolby Vision Configuration Box", nullptr, RowsOf<CDolbyVisionConfigurationBox, DolbyVisionRows>},
};
}  // namespace

std::span<const BoxEntry> VideoCodecEntries() { return kEntries; }
