// The pages of the sample description box, its sample entries and the boxes inside
// entries.
#include <cstring>

#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/channel_layout_box.h"
#include "boxes/sampleentry/entry_boxes.h"
#include "boxes/sampleentry/hint_sample_entries.h"
#include "boxes/sampleentry/metadata_sample_entries.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "boxes/sampleentry/sound_wave_boxes.h"
#include "boxes/sampleentry/text_sample_entry.h"
#include "boxes/sampleentry/timecode_sample_entry.h"
#include "boxes/sampleentry/uri_boxes.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "boxes/sampleentry/xml_subtitle_sample_entry.h"
#include "report/box_entry.h"
#include "report/codec_string.h"
#include "report/more_fields.h"

namespace {
// Text from the file, up to its first zero byte.
Text UpToZero(const std::string& s) { return Text::FromFile(std::string_view(s.c_str(), std::strlen(s.c_str()))); }

void DataReferenceRows(PageBuilder& page, const CSampleEntry& e) {
    page.Table();
    page.U32("Data reference index", e.m_dataReferenceIndex);
}

// The fields every sample entry starts with, in a "More fields" table: the reserved
// bytes, and the data reference index where the page does not show it already.
void EntryMore(PageBuilder& page, const CSampleEntry& e, bool withIndex) {
    MoreFields(page);
    page.Derived("Reserved", WordsText(e.m_reserved, 6, 2), {e.m_reserved});
    if (withIndex) page.U32("Data reference index", e.m_dataReferenceIndex);
}

// What a visual entry's depth says (QuickTime adds 32 with alpha and the grey scales).
const char* DepthName(uint32_t depth) {
    switch (depth) {
        case 24: return "colour, no alpha";
        case 32: return "colour with alpha";
        case 34: return "2-bit grey";
        case 36: return "4-bit grey";
        case 40: return "8-bit grey";
        default: return "";
    }
}

// The last row of an entry's "More fields": its codec string, from the entry's code and
// the configuration box it is computed from.
void CodecStringRow(PageBuilder& page, const CBox& e) {
    Span span = Span::Bytes(e.m_startOffset + 4, 4);
    if (const CBox* config = CodecConfiguration(e))
        span = span.Union(Span::Bytes(config->m_startOffset, config->BoxSize()));
    page.RowAt("Codec string", Text::FromFile(CodecString(e)), span, /*derived=*/true);
}

void VisualMore(PageBuilder& page, const CVisualSampleEntry& e) {
    EntryMore(page, e, false);
    page.U32x4("Pre defined", e.m_preDefined1);
    page.U32x4("Reserved", e.m_reserved1);
    page.Derived("Pre defined", WordsText(e.m_preDefined2, 3), {e.m_preDefined2});
    page.Row("Horizontal resolution (dpi)", FixedRawText(e.m_horizResolution, 16, e.m_horizResolution),
             {e.m_horizResolution});
    page.Row("Vertical resolution (dpi)", FixedRawText(e.m_vertResolution, 16, e.m_vertResolution),
             {e.m_vertResolution});
    page.U32("Reserved", e.m_reserved2);
    page.U32x4("Frame count", e.m_frameCount);
    page.U32x2("Compressor name length", e.m_compressorNameLength);
    page.Row("Depth", U32Text4(e.m_depth) + (*DepthName(e.m_depth) ? " " : "") + DepthName(e.m_depth), {e.m_depth});
    page.Row("Pre defined", Format("%d (0X%04X)", int16_t(e.m_preDefined3), e.m_preDefined3), {e.m_preDefined3});
    CodecStringRow(page, e);
}

// A sample rate in 16.16: "48000 Hz (0XBB800000)".
std::string SampleRateText(uint32_t rate) {
    const std::string hz = rate & 0xFFFF ? FixedText(rate, 16) : Decimal(uint64_t{rate >> 16});
    return hz + Format(" Hz (0X%08X)", rate);
}

// The LPCM format flags of a version 2 sound description, by name: " float, big-endian".
std::string FormatFlagsText(uint32_t flags) {
    static const char* const kNames[] = {"float", "big-endian", "signed integer", "packed", "aligned high",
                                         "non-interleaved", "non-mixable"};
    std::string text;
    for (int bit = 0; bit < 7; ++bit)
        if (flags & (1u << bit)) text += std::string(text.empty() ? " " : ", ") + kNames[bit];
    return text;
}

void AudioMore(PageBuilder& page, const CAudioSampleEntry& e, bool withIndex) {
    EntryMore(page, e, withIndex);
    page.U32x4("Version", e.m_soundVersion);
    page.U32x4("Revision level", e.m_revision);
    page.Row("Vendor", FourCCValue(e.m_vendor) + Text(Format(" (0X%08X)", e.m_vendor)), {e.m_vendor});
    page.U32x4("Channel count", e.m_channelCount);
    page.U32x4("Sample size", e.m_sampleSize);
    page.U32x4("Pre defined", e.m_preDefined);
    page.U32x4("Reserved", e.m_reserved3);
    page.Row("Sample rate", SampleRateText(e.m_sampleRate), {e.m_sampleRate});
    if (e.HasSoundVersion1()) {
        page.U32("Samples per packet", e.m_samplesPerPacket);
        page.U32("Bytes per packet", e.m_bytesPerPacket);
        page.U32("Bytes per frame", e.m_bytesPerFrame);
        page.U32("Bytes per sample", e.m_bytesPerSample);
    } else if (e.HasSoundVersion2()) {
        page.U32("Size of struct only", e.m_structSize);
        double rate = 0;
        static_assert(sizeof rate == sizeof e.m_audioSampleRate);
        std::memcpy(&rate, &e.m_audioSampleRate, sizeof rate);
        page.Row("Audio sample rate", Format("%.17g Hz (0X%016llX)", rate, static_cast<unsigned long long>(e.m_audioSampleRate)),
                 {e.m_audioSampleRate});
        page.U32("Audio channels", e.m_audioChannels);
        page.U32("Always 0X7F000000", e.m_always7F000000);
        page.U32("Bits per channel", e.m_bitsPerChannel);
        page.Row("Format flags", Format("%u (0X%08X)", e.m_formatFlags, e.m_formatFlags) + FormatFlagsText(e.m_formatFlags),
                 {e.m_formatFlags});
        page.U32("Bytes per audio packet", e.m_constBytesPerPacket);
        page.U32("LPCM frames per audio packet", e.m_constFramesPerPacket);
    }
    CodecStringRow(page, e);
}

// mp4a's page shows the common rows only.
void Mpeg4AudioRows(PageBuilder& page, const CAudioSampleEntry& e) { AudioMore(page, e, true); }

void VisualRows(PageBuilder& page, const CVisualSampleEntry& e) {
    page.Table();
    page.U32x4("Data reference index", e.m_dataReferenceIndex);
    page.U32x4("Width", e.m_width);
    page.U32x4("Height", e.m_height);
    page.U32("Horizontal resolution", e.m_horizResolution);
    page.U32("Vertical resolution", e.m_vertResolution);
    page.Row("Compression name", UpToZero(e.m_compressorName), {e.m_compressorName});
    VisualMore(page, e);
}

// The record rows of a text entry: the value, then a line feed.
void RecordRow(PageBuilder& page, const char* label, const char* format, const uint32_t& field) {
    page.Row(label, Format(format, field, field), {field});
}

void TextRows(PageBuilder& page, const CTextSampleEntry& e) {
    page.Table();
    page.U32("Display Flags", e.m_displayFlags);
    RecordRow(page, "Horizontal justification", "%d (0X%08X)", e.m_horizontalJustification);
    RecordRow(page, "Vertical justification", "%d (0X%08X)", e.m_verticalJustification);
    page.U32("Background color RGBA", e.m_backgroundColorRGBA);
    page.Table("Box Record");
    RecordRow(page, "Left", "%d (0X%08X)\n", e.m_boxLeft);
    RecordRow(page, "Top", "%d (0X%08X)\n", e.m_boxTop);
    RecordRow(page, "Right", "%d (0X%08X)\n", e.m_boxRight);
    RecordRow(page, "Bottom", "%d (0X%08X)\n", e.m_boxBottom);
    page.Table("Style Record");
    RecordRow(page, "Start char", "%u (0X%08X)\n", e.m_startChar);
    RecordRow(page, "End char", "%u (0X%08X)\n", e.m_endChar);
    RecordRow(page, "Font id", "%u (0X%08X)\n", e.m_fontID);
    RecordRow(page, "Face style flags", "%u (0X%08X)\n", e.m_faceStyleFlags);
    RecordRow(page, "Font siz", "%u (0X%08X)\n", e.m_fontSize);
    RecordRow(page, "Text color rgba", "%u (0X%08X)\n", e.m_textColorRGBA);
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

void RtpHintRows(PageBuilder& page, const CRtpHintSampleEntry& e) {
    page.Table();
    page.U32("HintTrack version", e.m_hintTrackVersion);
    page.U32("Highest compatible version", e.m_highestCompatibleVersion);
    page.U32("Max packet size", e.m_maxPacketSize);
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

void HintRows(PageBuilder& page, const CHintSampleEntry& e) {
    page.Table();
    page.Row("Data", UpToZero(e.m_data), {e.m_data});
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

void XmlMetaDataRows(PageBuilder& page, const CXMLMetaDataSampleEntry& e) {
    page.Table();
    page.Row("Content encoding", UpToZero(e.m_contentEncoding), {e.m_contentEncoding});
    page.Row("Namespace", UpToZero(e.m_namespace), {e.m_namespace});
    page.Row("Schema location", UpToZero(e.m_schemaLocation), {e.m_schemaLocation});
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

void TextMetaDataRows(PageBuilder& page, const CTextMetaDataSampleEntry& e) {
    page.Table();
    page.Row("Content encoding", UpToZero(e.m_contentEncoding), {e.m_contentEncoding});
    page.Row("MIME format", UpToZero(e.m_mimeFormat), {e.m_mimeFormat});
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

// Its page shows the box header only; the entry's fields go with those it leaves out.
void UriMetaRows(PageBuilder& page, const CURIMetaSampleEntry& e) {
    EntryMore(page, e, true);
    CodecStringRow(page, e);
}

// Their pages show the box header only; their fields go with those it leaves out.
void UriRows(PageBuilder& page, const CURIBox& b) {
    MoreFields(page);
    page.Row("URI", UpToZero(b.m_uri), {b.m_uri});
}
void UriInitRows(PageBuilder& page, const CURIInitBox& b) {
    MoreFields(page);
    page.Row("Initialization data", FormatBytesText(b.m_data.data(), b.m_data.size()), {b.m_data});
}

void XmlSubtitleRows(PageBuilder& page, const CXMLSubtitleSampleEntry& e) {
    page.Table();
    page.Row("Namespace", UpToZero(e.m_namespace), {e.m_namespace});
    page.Row("Schema location", UpToZero(e.m_schemaLocation), {e.m_schemaLocation});
    page.Row("Auxiliary MIME types", UpToZero(e.m_auxiliaryMimeTypes), {e.m_auxiliaryMimeTypes});
    EntryMore(page, e, true);
}

void MimeRows(PageBuilder& page, const CMIMEBox& b) {
    page.Table();
    page.Row("Content type", UpToZero(b.m_contentType), {b.m_contentType});
}

// Its page shows the box header only; the descriptors go with the fields it leaves out.
void ExtensionDescriptorRows(PageBuilder& page, const CMPEG4ExtensionDescriptorsBox& b) {
    MoreFields(page);
    page.List("Descriptors", {"Tag", "Size", "Bytes"});
    for (const auto& d : b.m_descriptors)
        page.ListEntry({Format("%u (0X%02X)", d.tag, d.tag), Decimal(uint64_t{d.size}),
                        FormatBytesText(reinterpret_cast<const uint8_t*>(d.bytes.data()), d.bytes.size())},
                       {d});
}

void CleanApertureRows(PageBuilder& page, const CCleanAperturebox& b) {
    page.Table();
    page.U32("Clean aperture Width", b.m_cleanApertureWidthN);
    page.U32("Clean aperture WidthD", b.m_cleanApertureWidthD);
    page.U32("Clean aperture HeightN", b.m_cleanApertureHeightN);
    page.U32("Clean aperture HeightD", b.m_cleanApertureHeightD);
    page.U32("Horiz WidthN", b.m_horizOffN);
    page.U32("Horiz WidthD", b.m_horizOffD);
    page.U32("Vert HeightN", b.m_vertOffN);
    page.U32("Vert HeightD", b.m_vertOffD);
}

void PixelAspectRatioRows(PageBuilder& page, const CPixelAspectRatioBox& b) {
    page.Table();
    page.U32("HSpacing", b.m_hSpacing);
    page.U32("VSpacing", b.m_vSpacing);
}

void BitRateRows(PageBuilder& page, const CBitRateBox& b) {
    page.Table();
    page.U32("Buffer size db", b.m_bufferSizeDB);
    page.U32("Max bitrate", b.m_maxBitrate);
    page.U32("Avg bitrate", b.m_avgBitrate);
}

void FontTableRows(PageBuilder& page, const CFontTableBox& b) {
    page.Table();
    page.U32("Entry count", b.m_entryCount);
    page.List("Font Record", {"Font id", "Font length", "Font"});
    for (const CFontTableBox::FontRecord& font : b.m_records)
        page.ListEntry({Format("%u", font.fontID), Format("%u", font.nameLength), UpToZero(font.name)}, {font});
}

void TimeScaleRows(PageBuilder& page, const CTimeScaleEntry& b) {
    page.Table();
    page.U32("Time scale", b.m_timeScale);
}

void TimeOffsetRows(PageBuilder& page, const CTimeOffset& b) {
    page.Table();
    page.U32("Offset", b.m_offset);
}

void SequenceOffsetRows(PageBuilder& page, const CSequenceOffset& b) {
    page.Table();
    page.U32("Offset", b.m_offset);
}

// mp4a names both the entry and, inside a QuickTime sound's wave, the codec's atom.
std::string Mpeg4AudioTitle(const CBox* parent, const CBox&) {
    return parent && parent->m_type == FourCC("wave") ? "Sound Format Box" : "MPEG4 Audio Sample Entry";
}
void Mpeg4AudioOrFormatRows(PageBuilder& page, const CBox& box) {
    if (auto* entry = dynamic_cast<const CAudioSampleEntry*>(&box)) Mpeg4AudioRows(page, *entry);
    else if (auto* format = dynamic_cast<const CWaveFormatBox*>(&box)) {
        page.Table();
        page.U32("Reserved", format->m_reserved);
    }
}

void EndianRows(PageBuilder& page, const CEndianBox& b) {
    page.Table();
    page.Row("Little endian", U32Text4(b.m_littleEndian) + (b.m_littleEndian ? " little-endian" : " big-endian"),
             {b.m_littleEndian});
}

// The named channel layouts, by the high 16 bits of the tag.
const char* LayoutName(uint32_t layout) {
    static const char* const kFrom100[] = {
        "Mono", "Stereo", "StereoHeadphones", "MatrixStereo", "MidSide", "XY", "Binaural", "Ambisonic_B_Format",
        "Quadraphonic", "Pentagonal", "Hexagonal", "Octagonal", "Cube", "MPEG_3_0_A", "MPEG_3_0_B", "MPEG_4_0_A",
        "MPEG_4_0_B", "MPEG_5_0_A", "MPEG_5_0_B", "MPEG_5_0_C", "MPEG_5_0_D", "MPEG_5_1_A", "MPEG_5_1_B", "MPEG_5_1_C",
        "MPEG_5_1_D", "MPEG_6_1_A", "MPEG_7_1_A", "MPEG_7_1_B", "MPEG_7_1_C", "Emagic_Default_7_1", "SMPTE_DTV",
        "ITU_2_1", "ITU_2_2", "DVD_4", "DVD_5", "DVD_6", "DVD_10", "DVD_11", "DVD_18", "AudioUnit_6_0",
        "AudioUnit_7_0", "AAC_6_0", "AAC_6_1", "AAC_7_0", "AAC_Octagonal", "TMH_10_2_std", "TMH_10_2_full",
        "DiscreteInOrder"};
    if (layout == 0) return "UseChannelDescriptions";
    if (layout == 1) return "UseChannelBitmap";
    if (layout == 0xFFFF) return "Unknown";
    return layout >= 100 && layout - 100 < std::size(kFrom100) ? kFrom100[layout - 100] : "";
}

// The channels of a bitmap (bit 0 first) and the labels of channel descriptions.
const char* const kChannelNames[] = {"Left", "Right", "Center", "LFEScreen", "LeftSurround", "RightSurround",
                                     "LeftCenter", "RightCenter", "CenterSurround", "LeftSurroundDirect",
                                     "RightSurroundDirect", "TopCenterSurround", "VerticalHeightLeft",
                                     "VerticalHeightCenter", "VerticalHeightRight", "TopBackLeft", "TopBackCenter",
                                     "TopBackRight"};
std::string ChannelLabelName(uint32_t label) {
    if (label >= 1 && label <= std::size(kChannelNames)) return kChannelNames[label - 1];
    switch (label) {
        case 0: return "Unused";
        case 33: return "RearSurroundLeft";
        case 34: return "RearSurroundRight";
        case 35: return "LeftWide";
        case 36: return "RightWide";
        case 37: return "LFE2";
        case 38: return "LeftTotal";
        case 39: return "RightTotal";
        case 42: return "Mono";
        case 100: return "UseCoordinates";
        case 0xFFFFFFFF: return "Unknown";
        default: return "";
    }
}

std::string BitmapText(uint32_t bitmap) {
    std::string text = U32Text(bitmap);
    bool first = true;
    for (size_t bit = 0; bit < std::size(kChannelNames); ++bit)
        if (bitmap & (1u << bit)) {
            text += std::string(first ? " " : ", ") + kChannelNames[bit];
            first = false;
        }
    return text;
}

std::string FloatText(uint32_t bits) {
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return Format("%g", v);
}

void ChannelLayoutRows(PageBuilder& page, const CChannelLayoutBox& b) {
    page.Table();
    // A named layout's tag holds its channel count in the low 16 bits.
    const uint32_t layout = b.m_layoutTag >> 16;
    const char* name = LayoutName(layout);
    std::string tag = U32Text(b.m_layoutTag);
    if (*name) tag += layout < 100 ? Format(" %s", name) : Format(" %s, %u channels", name, b.m_layoutTag & 0xFFFF);
    page.Row("Channel layout tag", tag, {b.m_layoutTag});
    page.Row("Channel bitmap", BitmapText(b.m_channelBitmap), {b.m_channelBitmap});
    page.U32("Number of channel descriptions", b.m_descriptionCount);
    page.List("Channel descriptions", {"Label", "Flags", "Coordinates"});
    for (const CChannelLayoutBox::Description& d : b.m_descriptions) {
        const std::string label = ChannelLabelName(d.label);
        page.ListEntry({Format("%u", d.label) + (label.empty() ? "" : " " + label), Format("0X%08X", d.flags),
                        FloatText(d.coordinates[0]) + ", " + FloatText(d.coordinates[1]) + ", " +
                            FloatText(d.coordinates[2])},
                       {d});
    }
}

// Its page shows version and flags; the entry count goes with the fields it leaves out.
void SampleDescriptionRows(PageBuilder& page, const CSampleDescriptionBox& b) {
    MoreFields(page);
    page.U32("Entry count", b.m_entryCount);
}

constexpr auto kVisual = RowsOf<CVisualSampleEntry, VisualRows>;

constexpr BoxEntry kEntries[] = {
    // The sample description box shows its version and flags only.
    {FourCC("stsd"), "Sample Description Box", nullptr, RowsOf<CSampleDescriptionBox, SampleDescriptionRows>},
    {FourCC("avc1"), "AVC Sample Entrty", nullptr, kVisual},
    {FourCC("hev1"), "HEVC Sample Entrty", nullptr, kVisual},
    {FourCC("hvc1"), "HEVC Sample Entrty", nullptr, kVisual},
    {FourCC("mp4a"), nullptr, Mpeg4AudioTitle, Mpeg4AudioOrFormatRows},
    {FourCC("wave"), "Decompression Parameters Box"},
    {FourCC("enda"), "Endian Box", nullptr, RowsOf<CEndianBox, EndianRows>},
    {FourCC("chan"), "Channel Layout Box", nullptr, RowsOf<CChannelLayoutBox, ChannelLayoutRows>},
    {FourCC("mp4v"), "MPEG4 Visual Sample Entry Box", nullptr, kVisual},
    {FourCC("hint"), "Hint Sample Entry Box", nullptr, RowsOf<CHintSampleEntry, HintRows>},
    {FourCC("metx"), "XML Meta Data Sample Entry Box", nullptr, RowsOf<CXMLMetaDataSampleEntry, XmlMetaDataRows>},
    {FourCC("mett"), "Text Meta Data Sample Entry Box", nullptr, RowsOf<CTextMetaDataSampleEntry, TextMetaDataRows>},
    {FourCC("urim"), "URI Meta Sample Entry Box", nullptr, RowsOf<CURIMetaSampleEntry, UriMetaRows>},
    {FourCC("uri "), "URI Box", nullptr, RowsOf<CURIBox, UriRows>},
    {FourCC("uriI"), "Uri Initialization Data Box", nullptr, RowsOf<CURIInitBox, UriInitRows>},
    {FourCC("btrt"), "Bit Rate Box", nullptr, RowsOf<CBitRateBox, BitRateRows>},
    {FourCC("clap"), "Clean Aperture Box", nullptr, RowsOf<CCleanAperturebox, CleanApertureRows>},
    {FourCC("pasp"), "Pixel Aspect Ratio Box", nullptr, RowsOf<CPixelAspectRatioBox, PixelAspectRatioRows>},
    {FourCC("m4ds"), "MPEG4 Extension Descriptors Box", nullptr,
     RowsOf<CMPEG4ExtensionDescriptorsBox, ExtensionDescriptorRows>},
    {FourCC("mime"), "MIME Box", nullptr, RowsOf<CMIMEBox, MimeRows>},
    {FourCC("ftab"), "Font Table Box", nullptr, RowsOf<CFontTableBox, FontTableRows>},
    {FourCC("tims"), "Time Scale Entry Box", nullptr, RowsOf<CTimeScaleEntry, TimeScaleRows>},
    {FourCC("tsro"), "Time Scale Entry Box", nullptr, RowsOf<CTimeOffset, TimeOffsetRows>},
    {FourCC("snro"), "Sequence Offset Box", nullptr, RowsOf<CSequenceOffset, SequenceOffsetRows>},
    // The boxes of text sample entries: titles only.
    {FourCC("blnk"), "Blinking Box"},
    {FourCC("dlay"), "Scroll Delay Box"},
    {FourCC("drpo"), "Drop Shadow Offset Box"},
    {FourCC("drpt"), "Drop Shadow Alpha"},
    {FourCC("hclr"), "Highlight Color Box"},
    {FourCC("hlit"), "Highlight Box"},
    {FourCC("href"), "Hypertext Box"},
    {FourCC("krok"), "Karaoke Box"},
    {FourCC("styl"), "Style Box"},
    {FourCC("tbox"), "Text Box Box"},
    {FourCC("twrp"), "Text Wrap Box"},
    {FourCC("seii"), "SEI Information Box"},
};
}  // namespace

std::span<const BoxEntry> SampleEntryEntries() { return kEntries; }

void TimecodeRows(PageBuilder& page, const CTimecodeSampleEntry& e) {
    DataReferenceRows(page, e);
    page.U32("Reserved", e.m_reserved1);
    std::string flags = U32Text(e.m_flags);
    for (const auto& [bit, name] : {std::pair{CTimecodeSampleEntry::kDropFrame, "drop frame"},
                                    std::pair{CTimecodeSampleEntry::kMax24Hours, "24 hours max"},
                                    std::pair{CTimecodeSampleEntry::kNegativeTimesOk, "negative times OK"},
                                    std::pair{CTimecodeSampleEntry::kCounter, "counter"}})
        if (e.m_flags & bit) flags += std::string(" ") + name;
    page.Row("Flags", flags, {e.m_flags});
    page.U32("Time scale", e.m_timescale);
    page.U32("Frame duration", e.m_frameDuration);
    page.U32x2("Number of frames", e.m_numberOfFrames);
    if (e.m_frameDuration)
        page.Derived("Frames per second", Format("%.3f", double(e.m_timescale) / e.m_frameDuration),
                     {e.m_timescale, e.m_frameDuration});
    page.U32x2("Reserved", e.m_reserved2);
    if (!e.m_padding.empty())
        page.Row("Padding",
                 FormatBytesText(reinterpret_cast<const uint8_t*>(e.m_padding.data()), e.m_padding.size()),
                 {e.m_padding});
    EntryMore(page, e, false);
    CodecStringRow(page, e);
}

void SampleEntryRows(PageBuilder& page, const CBox& box) {
    // Titled by the track's handler type: "Visual ...", "Text ...", "Audio ..." and
    // "MPEG Sample Entry Box" have rows, and an RTP hint entry (the rtp  page's); other
    // hint and metadata entries have none.
    if (auto* rtp = dynamic_cast<const CRtpHintSampleEntry*>(&box)) RtpHintRows(page, *rtp);
    else if (auto* visual = dynamic_cast<const CVisualSampleEntry*>(&box)) VisualRows(page, *visual);
    else if (auto* text = dynamic_cast<const CTextSampleEntry*>(&box)) TextRows(page, *text);
    else if (auto* xml = dynamic_cast<const CXMLSubtitleSampleEntry*>(&box)) XmlSubtitleRows(page, *xml);
    else if (auto* timecode = dynamic_cast<const CTimecodeSampleEntry*>(&box)) TimecodeRows(page, *timecode);
    else if (auto* audio = dynamic_cast<const CAudioSampleEntry*>(&box)) {
        DataReferenceRows(page, *audio);
        AudioMore(page, *audio, false);
    } else if (auto* mpeg = dynamic_cast<const CMPEGSampleEntry*>(&box)) {
        DataReferenceRows(page, *mpeg);
        EntryMore(page, *mpeg, false);
        CodecStringRow(page, *mpeg);
    } else if (auto* plain = dynamic_cast<const CBoxesSampleEntry*>(&box)) {
        DataReferenceRows(page, *plain);
        EntryMore(page, *plain, false);
        CodecStringRow(page, *plain);
    }
}
