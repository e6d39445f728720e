// The pages of the codec configuration boxes (avcC, hvcC) and of the boxes that carry
// MPEG-4 descriptors (esds, iods).
#include <cinttypes>
#include <cstring>
#include <utility>

#include "boxes/descriptors/avc_configuration.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/descriptors/hevc_configuration.h"
#include "boxes/descriptors/object_descriptor_box.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {
Text UpToZero(const std::string& s) { return Text::FromFile(std::string_view(s.c_str(), std::strlen(s.c_str()))); }

Text BytesText(const std::vector<uint8_t>& bytes) { return FormatBytesText(bytes.data(), bytes.size()); }

// A row of its own format for one field: Format(format, field, field).
void Formatted(PageBuilder& page, const char* label, const char* format, const uint32_t& field) {
    page.Row(label, Format(format, field, field), {field});
}

// "Tag" and "Tag size". A size of more than one byte is not its bytes as they stand.
void TagRows(PageBuilder& page, const CBaseDescriptor& d) {
    page.U32x2("Tag", d.m_tag);
    if (d.m_sizeBytes == 1) page.U32x2("Tag size", d.m_size);
    else page.Derived("Tag size", U32Text2(d.m_size), {d.m_size});
}

void AvcConfigurationRows(PageBuilder& page, const CAVCConfigurationBox& box) {
    if (!box.m_record) return;
    const CAVCDecoderConfigurationRecord& r = *box.m_record;
    page.Table();
    page.U32("Configuration version", r.m_configurationVersion);
    const uint32_t profile = r.m_AVCProfileIndication;
    const char* name = profile == 66 ? "Baseline = " : profile == 77 ? "Main = " : profile == 88 ? "Extended = " : "";
    page.Row("AVC profile indication", Format("%s%u (0X%08X)", name, profile, profile), {r.m_AVCProfileIndication});
    page.U32("AVC profile compatibility", r.m_profileCompatibility);
    page.U32("AVC level indication", r.m_AVCLevelIndication);
    page.Derived("NAL Unit length size", U32Text(r.m_lengthSizeMinusOne + 1), {r.m_lengthSizeMinusOne});
    page.U32("Num sequence parameter sets", r.m_numOfSequenceParameterSets);
    for (size_t i = 0; i < r.GetSequenceParameterSetCount(); ++i) {
        const NalUnit& set = *r.GetSequenceParameterSet(i);
        page.Row(Format("Sequence parameter set (%zu)", i), BytesText(set.bytes), {set.bytes});
    }
    page.U32("Num picture parameter sets", r.m_numOfPictureParameterSets);
    for (size_t i = 0; i < r.GetPictureParameterSetCount(); ++i) {
        const NalUnit& set = *r.GetPictureParameterSet(i);
        page.Row(Format("Picture parameter set (%zu)", i), BytesText(set.bytes), {set.bytes});
    }
    MoreFields(page);
    page.U32x2("Reserved 6bits", r.m_reserved6);
    page.U32x2("Reserved 3bits", r.m_reserved3);
    for (size_t i = 0; i < r.GetSequenceParameterSetCount(); ++i)
        page.U32x4(Format("Sequence parameter set length (%zu)", i), r.GetSequenceParameterSet(i)->length);
    for (size_t i = 0; i < r.GetPictureParameterSetCount(); ++i)
        page.U32x4(Format("Picture parameter set length (%zu)", i), r.GetPictureParameterSet(i)->length);
    if (!r.HasHighProfileFields()) return;
    static const char* const kChroma[] = {"monochrome", "4:2:0", "4:2:2", "4:4:4"};
    page.U32x2("Reserved 6bits 2", r.m_reserved6b);
    page.Row("Chroma format", U32Text2(r.m_chromaFormat) + " " + kChroma[r.m_chromaFormat & 3], {r.m_chromaFormat});
    page.U32x2("Reserved 5bits", r.m_reserved5a);
    page.U32x2("Bit depth luma minus 8", r.m_bitDepthLumaMinus8);
    page.U32x2("Reserved 5bits 2", r.m_reserved5b);
    page.U32x2("Bit depth chroma minus 8", r.m_bitDepthChromaMinus8);
    page.U32x2("Num sequence parameter set ext", r.m_numOfSequenceParameterSetExt);
    for (size_t i = 0; i < r.m_sequenceParameterSetExts.size(); ++i) {
        const NalUnit& set = r.m_sequenceParameterSetExts[i];
        page.U32x4(Format("Sequence parameter set ext length (%zu)", i), set.length);
        page.Row(Format("Sequence parameter set ext (%zu)", i), BytesText(set.bytes), {set.bytes});
    }
}

void HevcConfigurationRows(PageBuilder& page, const CHEVCConfigurationBox& box) {
    if (!box.m_record) return;
    const CHEVCDecoderConfigurationRecord& r = *box.m_record;
    page.Table();
    page.U32x2("Configuration version", r.m_configurationVersion);
    Formatted(page, "Profile space", "%u (0X%01X)", r.m_generalProfileSpace);
    Formatted(page, "Tier flag", "%u (0X%01X)", r.m_generalTierFlag);
    page.U32x2("Profile idc", r.m_generalProfileIdc);
    page.Row("Profile compatibility indications", Format("0X%08X", r.m_generalProfileCompatibilityFlags),
             {r.m_generalProfileCompatibilityFlags});
    page.Row("Progressive source flag", Format("0X%01X", r.m_progressiveSourceFlag), {r.m_progressiveSourceFlag});
    Formatted(page, "Interlaced source flag", "%u (0X%01X)", r.m_interlacedSourceFlag);
    Formatted(page, "Non packed constraint flag", "%u (0X%01X)", r.m_nonPackedConstraintFlag);
    Formatted(page, "Frame only constraint flag", "%u (0X%01X)", r.m_frameOnlyConstraintFlag);
    page.Row("Constraint indicator flags", Format("0X%012" PRIX64, r.m_constraintIndicatorFlags),
             {r.m_constraintIndicatorFlags});
    page.U32x2("Level idc", r.m_generalLevelIdc);
    Formatted(page, "Reserved 4bits", "%u (0X%01X)", r.m_reserved4);
    page.U32x4("Min spatial segmentation idc", r.m_minSpatialSegmentationIdc);
    page.U32x2("Reserved 6bits", r.m_reserved6);
    Formatted(page, "Parallelism type", "%u (0X%01X)", r.m_parallelismType);
    page.U32x2("Reserved 6bits 2", r.m_reserved6b);
    Formatted(page, "Chromat format", "%u (0X%01X)", r.m_chromaFormat);
    page.U32x2("Reserved 5bits", r.m_reserved5);
    Formatted(page, "Bit depth chroma minus 8", "%u (0X%01X)", r.m_bitDepthChromaMinus8);
    page.U32x2("Reserved 5bits 2", r.m_reserved5b);
    Formatted(page, "Bit depth luma minus 8", "%u (0X%01X)", r.m_bitDepthLumaMinus8);
    page.U32x4("Avg framerate", r.m_avgFrameRate);
    Formatted(page, "Constant framerate", "%u (0X%01X)", r.m_constantFrameRate);
    Formatted(page, "Temporal layers num", "%u (0X%01X)", r.m_numTemporalLayers);
    Formatted(page, "Temporal id nested", "%u (0X%01X)", r.m_temporalIdNested);
    Formatted(page, "Length size minus 1", "%u (0X%01X)", r.m_lengthSizeMinusOne);
    page.U32x2("Num of arrays", r.m_numOfArrays);
    // The arrays the record holds, each with the units it holds.
    for (size_t i = 0; i < r.GetArrayCount(); ++i) {
        const CHEVCDecoderConfigurationRecord::NalArray& array = *r.GetArray(i);
        page.Table(Format("Nal Info %zu", i + 1));
        Formatted(page, "Array completeness", "%d (0X%01X)", array.arrayCompleteness);
        Formatted(page, "Reserved 1bits", "%u (0X%01X)", array.reserved);
        page.U32x2("NAL unit type", array.nalUnitType);
        page.U32x4("Num nal us", array.numNalus);
        page.Table("NAL Config Info");
        for (const NalUnit& unit : array.nalUnits) {
            page.U32x4("Nal unit length", unit.length);
            page.Row("Nal unit config", BytesText(unit.bytes), {unit.bytes});
        }
    }
}

void AudioSpecificConfigRows(PageBuilder& page, const CAudioSpecificConfig& asc) {
    page.Table("Audio Decoder Specific Info");
    TagRows(page, asc);
    // The type after an escape is not the bits it was read from.
    if (asc.m_audioObjectType > 31)
        page.Derived("Audio object type", U32Text(asc.m_audioObjectType), {asc.m_audioObjectType});
    else
        page.U32("Audio object type", asc.m_audioObjectType);
    page.U32("Sampling freq index", asc.m_samplingFrequencyIndex);
    page.U32("Sampling freq", asc.m_samplingFrequency);
    // Set by the type that signals SBR (the extension's type), not read.
    page.Derived("Sbr Flag", Format("%d (0X%08X)", asc.m_sbrFlag, asc.m_sbrFlag), {asc.m_extensionAudioObjectType});
    Formatted(page, "Ext audio object type", "%d (0X%08X)", asc.m_extensionAudioObjectType);
    Formatted(page, "Ext sampling freq index", "%d (0X%08X)", asc.m_extensionSamplingFrequencyIndex);
    Formatted(page, "Ext sampling freq", "%d (0X%08X)", asc.m_extensionSamplingFrequency);
    if (!asc.m_gaSpecificConfig) return;
    const GASpecificConfig& ga = *asc.m_gaSpecificConfig;
    page.U32x2("Frame length flag", ga.m_frameLengthFlag);
    page.U32x2("Depends on core coder", ga.m_dependsOnCoreCoder);
    page.U32("Core coder delay", ga.m_coreCoderDelay);
    page.U32x2("Extension flag", ga.m_extensionFlag);
    page.U32("Layer nr", ga.m_layerNr);
    page.U32("Num of subframe", ga.m_numOfSubFrame);
    page.U32("Layer length", ga.m_layerLength);
    page.U32x2("aac section data resilience flag", ga.m_aacSectionDataResilienceFlag);
    page.U32x2("aac scale factor data resilience flag", ga.m_aacScalefactorDataResilienceFlag);
    page.U32x2("aac spectral data resilience flag", ga.m_aacSpectralDataResilienceFlag);
    page.U32x2("Extension flag3", ga.m_extensionFlag3);
}

// What the descriptor pages leave out: the decoder buffer size, AAC's sync extension or
// the bytes of any other codec's configuration, and the SL config descriptor.
void EsDescriptorMore(PageBuilder& page, const CDecoderConfigDescriptor& config, const CDecoderSpecificInfo* info,
                      const CSLConfigDescriptor* sl) {
    MoreFields(page);
    page.Row("Buffer size db", Format("%u (0X%06X)", config.m_bufferSizeDB, config.m_bufferSizeDB),
             {config.m_bufferSizeDB});
    if (const auto* asc = dynamic_cast<const CAudioSpecificConfig*>(info); asc && asc->m_syncExtensionType) {
        Formatted(page, "Sync extension type", "%u (0X%03X)", asc->m_syncExtensionType);
        if (asc->m_extensionAudioObjectType == 5) Formatted(page, "Sbr present flag", "%u (0X%01X)", asc->m_sbrPresentFlag);
    } else if (info) {
        page.Row("Decoder specific info", BytesText(info->m_bytes), {info->m_bytes});
    }
    if (!sl) return;
    page.U32x2("SL config tag", sl->m_tag);
    if (sl->m_sizeBytes == 1) page.U32x2("SL config tag size", sl->m_size);
    else page.Derived("SL config tag size", U32Text2(sl->m_size), {sl->m_size});
    const char* kind = sl->m_predefined == 1   ? " null SL packet header"
                       : sl->m_predefined == 2 ? " reserved for MP4"
                                               : "";
    page.Row("SL config predefined", U32Text2(sl->m_predefined) + kind, {sl->m_predefined});
    if (sl->m_predefined != 0) return;
    const std::pair<const char*, const uint32_t*> flags[] = {
        {"Use access unit start flag", &sl->m_useAccessUnitStartFlag},
        {"Use access unit end flag", &sl->m_useAccessUnitEndFlag},
        {"Use random access point flag", &sl->m_useRandomAccessPointFlag},
        {"Has random access units only flag", &sl->m_hasRandomAccessUnitsOnlyFlag},
        {"Use padding flag", &sl->m_usePaddingFlag},
        {"Use time stamps flag", &sl->m_useTimeStampsFlag},
        {"Use idle flag", &sl->m_useIdleFlag},
        {"Duration flag", &sl->m_durationFlag},
        {"Time stamp resolution", &sl->m_timeStampResolution},
        {"OCR resolution", &sl->m_OCRResolution},
        {"Time stamp length", &sl->m_timeStampLength},
        {"OCR length", &sl->m_OCRLength},
        {"AU length", &sl->m_AU_Length},
        {"Instant bitrate length", &sl->m_instantBitrateLength},
        {"Degradation priority length", &sl->m_degradationPriorityLength},
        {"AU seq num length", &sl->m_AU_seqNumLength},
        {"Packet seq num length", &sl->m_packetSeqNumLength},
        {"Reserved", &sl->m_reserved}};
    for (const auto& [label, field] : flags) page.U32(label, *field);
}

void EsDescriptorRows(PageBuilder& page, const ESDescriptorBox& box) {
    if (!box.m_esDescriptor) return;
    const CESDescriptor& es = *box.m_esDescriptor;
    page.Table();
    TagRows(page, es);
    page.U32x4("ES_ID", es.m_esId);
    Formatted(page, "Stream dependence flag", "%d (0X%02X)", es.m_streamDependenceFlag);
    Formatted(page, "URL flag", "%d (0X%02X)", es.m_urlFlag);
    Formatted(page, "OCR stream flag", "%d (0X%02X)", es.m_ocrStreamFlag);
    page.U32x2("Stream priority", es.m_streamPriority);
    if (es.m_streamDependenceFlag) page.U32x4("dependsOn_ES_ID", es.m_dependsOnEsId);
    if (es.m_urlFlag) {
        page.U32("URL length", es.m_urlLength);
        page.Row("URL string", UpToZero(es.m_urlString), {es.m_urlString});
    }
    if (es.m_ocrStreamFlag) page.U32("OCR ES Id", es.m_ocrEsId);

    if (!es.m_decoderConfig) return;
    const CDecoderConfigDescriptor& config = *es.m_decoderConfig;
    page.Table("Decoder Config Descriptor");
    TagRows(page, config);
    const uint32_t type = config.m_objectTypeIndication;
    if (type == 0x40 || type == 0x20)
        page.Row("Object type indication", Format("%s (0X%02X)", type == 0x40 ? "MPEG-4 audio" : "MPEG-4 video", type),
                 {config.m_objectTypeIndication});
    else
        page.U32x2("Object type indication", config.m_objectTypeIndication);
    page.U32x2("Stream type", config.m_streamType);
    page.U32x2("Up stream", config.m_upStream);
    page.U32x2("Reserved", config.m_reserved);
    page.U32("Max bitrate", config.m_maxBitrate);
    page.U32("Avg bitrate", config.m_avgBitrate);

    const CDecoderSpecificInfo* info = config.m_decoderSpecificInfo.get();
    const auto* asc = dynamic_cast<const CAudioSpecificConfig*>(info);
    if (asc && type == 0x40) {
        AudioSpecificConfigRows(page, *asc);
    } else if (info) {
        page.Table("Decoder Specific Info");
        TagRows(page, *info);
    }
    EsDescriptorMore(page, config, info, es.m_slConfig.get());
}

// The rows of an initial object descriptor or an object descriptor, and the list of
// its ES_ID_Inc (track id) or ES_ID_Ref (ref index) descriptors.
template <class Descriptor, class Sub>
void ObjectDescriptorRows(PageBuilder& page, const Descriptor& d, const std::vector<std::unique_ptr<Sub>>& subs,
                          const char* column, const uint32_t Sub::*value, const char* valueFormat) {
    if (d.m_urlFlag) {
        page.U32("URL length", d.m_urlLength);
        page.Row("URL string", UpToZero(d.m_urlString), {d.m_urlString});
        return;
    }
    page.Derived("Descriptor count", U32Text(static_cast<uint32_t>(subs.size())), {});
    page.List("Descriptors", {"Tag", "Tag size", column});
    for (const auto& sub : subs)
        page.ListEntry({U32Text2(sub->m_tag), U32Text2(sub->m_size), Format(valueFormat, (*sub).*value, (*sub).*value)},
                       {*sub});
}

void ObjectDescriptorBoxRows(PageBuilder& page, const CObjectDescriptorBox& box) {
    if (!box.m_descriptor) return;
    page.Table();
    TagRows(page, *box.m_descriptor);
    if (auto* iod = dynamic_cast<const CIntialObjectDescriptor*>(box.m_descriptor.get())) {
        page.U32x4("Object descriptor id", iod->m_objectDescriptorID);
        page.U32x2("URL flag", iod->m_urlFlag);
        page.U32x2("Profile level flag", iod->m_includeInlineProfileLevelFlag);
        page.U32x2("Reserved", iod->m_reserved);
        ObjectDescriptorRows(page, *iod, iod->m_esIdIncs, "Track id", &CES_ID_Inc::m_trackID, "%u (0X%08X)");
        if (iod->m_urlFlag) return;
        // 0xFF: no capability of that kind required; 0xFE: none of the profiles listed.
        MoreFields(page);
        page.U32x2("OD profile level indication", iod->m_ODProfileLevelIndication);
        page.U32x2("Scene profile level indication", iod->m_sceneProfileLevelIndication);
        page.U32x2("Audio profile level indication", iod->m_audioProfileLevelIndication);
        page.U32x2("Visual profile level indication", iod->m_visualProfileLevelIndication);
        page.U32x2("Graphics profile level indication", iod->m_graphicsProfileLevelIndication);
    } else if (auto* od = dynamic_cast<const CObjectDescriptor*>(box.m_descriptor.get())) {
        page.U32x4("Object descriptor id", od->m_objectDescriptorID);
        page.U32x2("URL flag", od->m_urlFlag);
        page.U32x2("Reserved", od->m_reserved);
        ObjectDescriptorRows(page, *od, od->m_esIdRefs, "Ref index", &CES_ID_Ref::m_refIndex, "%u (0X%04X)");
    }
}

constexpr BoxEntry kEntries[] = {
    {FourCC("avcC"), "AVC Decoder Configuration Record", nullptr, RowsOf<CAVCConfigurationBox, AvcConfigurationRows>},
    {FourCC("hvcC"), "HEVC Decoder Configuration Record", nullptr, RowsOf<CHEVCConfigurationBox, HevcConfigurationRows>},
    {FourCC("esds"), "ES Descriptor Box", nullptr, RowsOf<ESDescriptorBox, EsDescriptorRows>},
    {FourCC("iods"), "Object Descriptor Box", nullptr, RowsOf<CObjectDescriptorBox, ObjectDescriptorBoxRows>},
};
}  // namespace

std::span<const BoxEntry> DescriptorEntries() { return kEntries; }
