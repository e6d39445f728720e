#include "report/flv_tag_page.h"

#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdlib>

#include "boxes/containers/media_data_box.h"
#include "flv/flv_tag.h"
#include "flv/tag_bodies.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {
// "%d (0X%08X)" of a field kept unsigned (a flag, reserved bits).
void D32(PageBuilder& page, const char* label, const uint32_t& field) {
    page.Row(label, Format("%d (0X%08X)", static_cast<int32_t>(field), field), {field});
}

void TagRows(PageBuilder& page, const CMediaDataBox& mdat, uint32_t k, const CFLVTag& tag) {
    page.Table("FLV Tag");
    const uint64_t start = uint64_t(tag.m_startOffset);
    page.RowAt("Start offset", I64Text(tag.m_startOffset), Span::Bytes(start, CFLVTag::kHeaderBytes + tag.m_dataSize),
               true);
    // The size stored after the tag, when there is one.
    if (k < mdat.PrevTagSizes().size())
        page.Row("Tag size", I64Text(mdat.PrevTagSizes()[k]), {mdat.PrevTagSizes()[k]});
    else
        page.RowAt("Tag size", I64Text(0), {});
    page.U32("Reserved", tag.m_reserved);
    page.U32("Filter", tag.m_filter);
    page.U32("Tag type", tag.m_tagType);
    page.U32("Data size", tag.m_dataSize);
    page.U32("Tims stamp", tag.m_timestamp);
    page.U32("Time stamp extended", tag.m_timestampExtended);
    page.U32("Stream id", tag.m_streamId);
}

void EncryptionRows(PageBuilder& page, const CEncryptionTagHeader& h, const FilterParams* params) {
    page.Table();
    page.Derived("Start offset", I64Text(h.m_startOffset), {h});
    page.U32("Num filters", h.m_numFilters);
    page.Row("Filter name", Text::FromFile(h.m_filterName), {h.m_filterName});
    page.U32("Length", h.m_length);
    if (!params) return;
    const std::string iv = FormatBytesText(params->iv.data(), params->iv.size());
    if (!params->selective) {
        page.Row("Encryption filter params iv", iv, {params->iv});
        return;
    }
    page.Row("Selectiv encryption filter params iv", iv, {params->iv});
    D32(page, "Encrypted au", params->encryptedAu);
    D32(page, "Reserved", params->reserved);
}

void TagHeaderRows(PageBuilder& page, const CTagHeader& header) {
    if (auto* video = dynamic_cast<const CVideoTagHeader*>(&header)) {
        page.Table("Video Tag Header");
        page.Derived("Start offset (Header)", I64Text(video->m_startOffset), {*video});
        page.U32("Frame type", video->m_frameType);
        page.U32("Codec id", video->m_codecId);
        page.U32("AVC packet type", video->m_avcPacketType);
        const int32_t cts = video->CompositionTime();
        page.Row("Composition time", Format("%d (0X%08X)", cts, static_cast<uint32_t>(cts)),
                 {video->m_compositionTime});
    } else if (auto* audio = dynamic_cast<const CAudioTagHeader*>(&header)) {
        page.Table("Audio Tag Header");
        page.Derived("Start offset (Header)", I64Text(audio->m_startOffset), {*audio});
        page.U32("Sound format", audio->m_soundFormat);
        page.U32("Sound rate", audio->m_soundRate);
        page.U32("Sound size", audio->m_soundSize);
        page.U32("AAC packet type", audio->m_aacPacketType);
    }
}

// What the tables above leave out of an audio tag header: its sound type, and that a
// format other than AAC has no AAC packet type (the 2 shown is no value of the file).
void MoreFields(PageBuilder& page, const CTagHeader& header) {
    auto* audio = dynamic_cast<const CAudioTagHeader*>(&header);
    if (!audio) return;
    MoreFields(page);
    page.U32("Sound type", audio->m_soundType);
    if (audio->m_soundFormat != 10)
        page.Derived("AAC packet type", Format("none: sound format %u is not AAC", audio->m_soundFormat),
                     {audio->m_soundFormat});
}

void BodyStart(PageBuilder& page, const char* title, const CTagBody& body) {
    page.Table(title);
    page.RowAt("Start offset (Body)", I64Text(body.m_startOffset), {}, true);
}

void ScriptRows(PageBuilder& page, const CScriptDataTag& body) {
    BodyStart(page, "Script Data Body", body);
    page.U32("Script tag name - type", body.m_first.type);
    const Text name = Amf0ValueText(body.m_first);
    page.Row("Script tag name - value", name, {body.m_first});
    page.U32("Script tag value - type", body.m_second.type);
    if (name.Plain() == "onMetaData" || name.Plain() == "onXMPData")
        page.Row("Script tag value - value", Amf0ValueText(body.m_second), {body.m_second});
}

// One row per parameter set, "NAME (j)" from 0, its bytes as byte text.
void ParameterSetRows(PageBuilder& page, const char* name, const std::vector<NalUnit>& sets) {
    for (size_t j = 0; j < sets.size(); ++j) {
        const std::vector<uint8_t>& bytes = sets[j].bytes;
        page.Row(Format("%s (%u)", name, unsigned(j)), FormatBytesText(bytes.data(), bytes.size()), {bytes});
    }
}

void AvcRows(PageBuilder& page, const CVideoTagBody& body) {
    if (!body.m_avcPacket || !body.m_avcPacket->m_configRecord) return;
    const CAVCDecoderConfigurationRecord& r = *body.m_avcPacket->m_configRecord;
    BodyStart(page, "AVC Video Packet", body);
    page.U32("Configuration version", r.m_configurationVersion);
    page.U32("AVCProfile indication", r.m_AVCProfileIndication);
    page.U32("Profile compatibility", r.m_profileCompatibility);
    page.U32("AVCLevel indication", r.m_AVCLevelIndication);
    page.U32("Reserved 6bits", r.m_reserved6);
    page.U32("LengthSize minusOne", r.m_lengthSizeMinusOne);
    page.U32("Reserved 3bits", r.m_reserved3);
    page.U32("Num of sequence parameter sets", r.m_numOfSequenceParameterSets);
    ParameterSetRows(page, "Sequence parameter set", r.m_sequenceParameterSets);
    page.U32("Num of picture parameter sets", r.m_numOfPictureParameterSets);
    ParameterSetRows(page, "Picture parameter set", r.m_pictureParameterSets);
}

// The GASpecific Config table of a type that carries none: zeros, read from nowhere.
const GASpecificConfig kNoGaSpecificConfig{};

void AacRows(PageBuilder& page, const CAACTagBody& body) {
    if (!body.m_audioSpecificConfig) return;
    const CAudioSpecificConfig& c = *body.m_audioSpecificConfig;
    BodyStart(page, "AAC Tag Body", body);
    page.U32("Audio object type", c.m_audioObjectType);
    page.U32("Sampling freq index", c.m_samplingFrequencyIndex);
    page.U32("Sampling freq", c.m_samplingFrequency);
    page.Derived("Sbr flag", Format("%d (0X%08X)", c.m_sbrFlag, c.m_sbrFlag), {c.m_extensionAudioObjectType});
    page.U32("Ext audio object type", c.m_extensionAudioObjectType);
    page.U32("Ext sampling freq index", c.m_extensionSamplingFrequencyIndex);
    page.U32("Ext sampling freq", c.m_extensionSamplingFrequency);
    const GASpecificConfig& ga = c.m_gaSpecificConfig ? *c.m_gaSpecificConfig : kNoGaSpecificConfig;
    page.Table("GASpecific Config");
    D32(page, "Frame length flag", ga.m_frameLengthFlag);
    D32(page, "Depends on core coder", ga.m_dependsOnCoreCoder);
    page.U32("Core coder delay", ga.m_coreCoderDelay);
    D32(page, "Extension flag", ga.m_extensionFlag);
    page.U32("Layer nr", ga.m_layerNr);
    page.U32("Num of subframe", ga.m_numOfSubFrame);
    page.U32("Layer length", ga.m_layerLength);
    D32(page, "AAC section data resilience flag", ga.m_aacSectionDataResilienceFlag);
    D32(page, "AAC scale factor data resilience flag", ga.m_aacScalefactorDataResilienceFlag);
    D32(page, "AAC spectral data resilience flag", ga.m_aacSpectralDataResilienceFlag);
    D32(page, "Extension flag3", ga.m_extensionFlag3);
}

void BodyRows(PageBuilder& page, const CTagBody& body) {
    if (auto* script = dynamic_cast<const CScriptDataTag*>(&body))
        ScriptRows(page, *script);
    else if (auto* video = dynamic_cast<const CVideoTagBody*>(&body))
        AvcRows(page, *video);
    else if (auto* aac = dynamic_cast<const CAACTagBody*>(&body))
        AacRows(page, *aac);
    else if (dynamic_cast<const CAudioTagBody*>(&body))
        BodyStart(page, "Audio Tag Body", body);
}

// A number as the shortest text that reads back as the same double ("29.97", "-1.5");
// a whole number as it always was ("120", and "1e+21" stays in digits).
std::string NumberText(double v) {
    if (std::trunc(v) == v) return Format("%.f", v);
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// A date as UTC text to the millisecond when it has one, then the time-zone offset stored
// with it: "2001/09/09 01:46:40 UTC, time zone +00:00".
std::string DateText(const CAmf0Value& v) {
    const double ms = v.Number();
    std::string text = FormatUnixDateText(ms / 1000);
    if (text[0] != '(') {  // a date, not "(out of range: ...)"
        const auto whole = static_cast<int64_t>(std::floor(ms));
        const int64_t millis = whole - 1000 * static_cast<int64_t>(std::floor(ms / 1000));
        if (millis) text += Format(".%03d", static_cast<int>(millis));
    }
    const int zone = v.TimeZone();
    return text + Format(" UTC, time zone %c%02d:%02d", zone < 0 ? '-' : '+', std::abs(zone) / 60, std::abs(zone) % 60);
}

// One line of an ECMA array: "- key : value</br>" for numbers, booleans, strings and dates.
Text EcmaLine(const CAmf0EcmaEntry& e) {
    Text value;
    switch (e.value.type) {
        case kAmf0Number: value = NumberText(e.value.Number()); break;
        case kAmf0Date: value = DateText(e.value); break;
        case kAmf0Boolean: value = Format("%d", static_cast<int8_t>(e.value.boolean)); break;
        case kAmf0String:
        case kAmf0LongString: value = Text::FromFile(e.value.text.c_str()); break;
        default: return {};
    }
    return Text("- ") + Text::FromFile(e.key.c_str()) + Text(" : ") + value + Text::Markup("</br>", "\n");
}
}  // namespace

Text Amf0ValueText(const CAmf0Value& v) {
    switch (v.type) {
        case kAmf0Number: return NumberText(v.Number()) + Format(" (0X%08" PRIX64 ")", v.bits);
        case kAmf0Boolean: return Format("%d (0X%08X)", static_cast<int8_t>(v.boolean), v.boolean);
        case kAmf0String:
        case kAmf0LongString: return Text::FromFile(v.text.c_str());
        case kAmf0Date: return FormatUnixDateText(v.Number() / 1000);
        case kAmf0ObjectEnd: {
            const uint8_t bytes[3] = {uint8_t(v.endMarker >> 16), uint8_t(v.endMarker >> 8), uint8_t(v.endMarker)};
            return FormatBytesText(bytes, 3);
        }
        case kAmf0EcmaArray: {
            Text lines;
            for (const auto& e : v.entries) lines += EcmaLine(*e);
            return lines;
        }
        default: return {};  // not decoded
    }
}

PageModel BuildFlvTagPage(const CMediaDataBox& mdat, uint32_t k, const SpanMap* spans) {
    PageModel model;
    const CFLVTag* tag = mdat.GetTag(k);
    if (!tag) return model;
    // A tag's page is a sub page already: its tables keep every row (a tag holds at
    // most a few hundred parameter sets).
    const PageContext context{nullptr, nullptr, nullptr, spans, nullptr, {RowWindow::AllRows}};
    PageBuilder page(model, context);
    TagRows(page, mdat, k, *tag);
    if (tag->m_encryptionHeader) EncryptionRows(page, *tag->m_encryptionHeader, tag->m_filterParams.get());
    if (tag->m_tagHeader) TagHeaderRows(page, *tag->m_tagHeader);
    if (tag->m_body) BodyRows(page, *tag->m_body);
    if (tag->m_tagHeader) MoreFields(page, *tag->m_tagHeader);
    return model;
}
