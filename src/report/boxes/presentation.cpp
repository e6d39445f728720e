// The pages of the presentation boxes: file type, progressive download, free space,
// movie/track/media headers, handler and media information headers; edit lists,
// data and track references.
#include <cinttypes>
#include <cstring>

#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/generic_media_info_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/presentation/text_media_info_box.h"
#include "boxes/presentation/timecode_media_info_box.h"
#include "boxes/presentation/track_aperture_dimensions_box.h"
#include "boxes/presentation/track_load_settings_box.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "report/box_entry.h"
#include "report/box_page.h"
#include "report/more_fields.h"

namespace {
// "%c%c%c%c (0X%08X)": a brand's characters, then its code.
Text BrandText(uint32_t code) { return FourCCValue(code) + Text(Format(" (0X%08X)", code)); }

// "%s (0X%08X)": the date text, then the raw time (all its bits: version 1 times are 64-bit).
Text DateText(uint64_t t) { return Text(FormatDateText(t) + Format(" (0X%08" PRIX64 ")", t)); }

void Times(PageBuilder& page, const uint64_t& creation, const uint64_t& modification) {
    page.Derived("Creation time(UTC)", DateText(creation), {creation});
    page.Derived("Modification time(UTC)", DateText(modification), {modification});
}

// "%.01f (0X%08X>>16)": the integer part of a 16.16 number, then the raw value.
Text Fixed16(double whole, uint32_t raw) { return Format("%.01f (0X%08X>>16)", whole, raw); }

void FileTypeRows(PageBuilder& page, const CFileTypeBox& box) {
    page.Table();
    page.Row("Major brand", BrandText(box.m_majorBrand), {box.m_majorBrand});
    page.U32("Minor version", box.m_minorVersion);
    Text brands;
    for (size_t i = 0; i < box.GetCompatibleBrandCount(); ++i) {
        if (i) brands += Text(", ");
        brands += BrandText(box.GetCompatibleBrand(i));
    }
    page.Derived("Compatible brands", brands, {box.m_compatibleBrands});
}

void ProgressiveDownloadRows(PageBuilder& page, const CProgressiveDownloadbox& box) {
    page.Table();
    page.Derived("List count", U32Text(static_cast<uint32_t>(box.GetEntryCount())), {box.m_entries});
    page.List("PDIN List", {"rate", "Initial delay"});
    for (const auto& e : box.m_entries) page.ListEntry({U32Text(e.rate), U32Text(e.initialDelay)}, {e});
}

void FreeSpaceRows(PageBuilder& page, const CFreeSpaceBox& box) {
    page.Table();
    page.Derived("Space size", U64Text(box.GetSpaceSize()), {box.m_spaceSize});
}

void MovieHeaderRows(PageBuilder& page, const CMovieHeaderBox& box) {
    page.Table();
    Times(page, box.m_creationTime, box.m_modificationTime);
    page.U32("Time scale", box.m_timescale);
    page.U64("Duration", box.m_duration);
    // The product wraps like the unsigned 64-bit arithmetic it is; timescale 0 shows it undivided.
    uint64_t ms = box.m_duration * 1000u;
    if (box.m_timescale != 0) ms /= box.m_timescale;
    page.Derived("Duration(ms)", Format("%llu", static_cast<unsigned long long>(ms)), {box.m_duration, box.m_timescale});
    page.U32("Next track id", box.m_nextTrackID);
    page.Derived("Volume", Format("%.01f (0X%04X>>8)", static_cast<double>(box.m_volume >> 8), box.m_volume),
                 {box.m_volume});
    page.Derived("Rate", Fixed16(static_cast<double>(static_cast<int32_t>(box.m_rate) >> 16), box.m_rate), {box.m_rate});
    MoreFields(page);
    page.Row("Preferred rate", FixedRawText(int32_t(box.m_rate), 16, box.m_rate), {box.m_rate});
    page.Row("Preferred volume", FixedRawText(int16_t(box.m_volume), 8, box.m_volume, 4), {box.m_volume});
    page.U32x4("Reserved", box.m_reserved16);
    page.Derived("Reserved", WordsText(box.m_reserved32, 2), {box.m_reserved32});
    page.Derived("Matrix", MatrixText(box.m_matrix), {box.m_matrix});
    page.Derived("Pre defined", WordsText(box.m_preDefined, 6), {box.m_preDefined});
}

void TrackHeaderRows(PageBuilder& page, const CTrackHeaderBox& box) {
    page.Table();
    Times(page, box.m_creationTime, box.m_modificationTime);
    page.U32("Track id", box.m_trackID);
    page.U64("Duration", box.m_duration);
    page.Derived("Width", Fixed16(static_cast<double>(box.m_width >> 16), box.m_width), {box.m_width});
    page.Derived("Height", Fixed16(static_cast<double>(box.m_height >> 16), box.m_height), {box.m_height});
    MoreFields(page);
    page.U32("Reserved", box.m_reserved1);
    page.Derived("Reserved", WordsText(box.m_reserved2, 2), {box.m_reserved2});
    page.Row("Layer", Format("%d (0X%04X)", int16_t(box.m_layer), box.m_layer), {box.m_layer});
    page.Row("Alternate group", Format("%d (0X%04X)", int16_t(box.m_alternateGroup), box.m_alternateGroup),
             {box.m_alternateGroup});
    page.Row("Volume", FixedRawText(int16_t(box.m_volume), 8, box.m_volume, 4), {box.m_volume});
    page.U32x4("Reserved", box.m_reserved3);
    page.Derived("Matrix", MatrixText(box.m_matrix), {box.m_matrix});
    page.Row("Exact width", FixedRawText(box.m_width, 16, box.m_width), {box.m_width});
    page.Row("Exact height", FixedRawText(box.m_height, 16, box.m_height), {box.m_height});
}

void MediaHeaderRows(PageBuilder& page, const CMediaHeaderBox& box) {
    page.Table();
    Times(page, box.m_creationTime, box.m_modificationTime);
    page.U32("Time scale", box.m_timescale);
    page.U64("Duration", box.m_duration);
    // QuickTime's codes that are no letters say what they are.
    const uint32_t language = box.m_pad << 15 | box.GetLanguageCode(0) << 10 | box.GetLanguageCode(1) << 5 |
                              box.GetLanguageCode(2);
    if (const std::string mac = QuickTimeLanguageText(language); !mac.empty()) {
        page.Derived("Language", mac, {box.m_pad, box.m_language});
    } else {
        // "und(0X15+0x60, 0X0E+0x60, 0X04+0x60)": the letters, then their 5-bit codes.
        std::string letters;
        for (int i = 0; i < 3; ++i) letters += static_cast<char>(box.GetLanguageCode(i) + 0x60);
        page.Derived("Language",
                     Text::FromFile(letters) + Text(Format("(0X%02X+0x60, 0X%02X+0x60, 0X%02X+0x60)",
                                                           box.GetLanguageCode(0), box.GetLanguageCode(1),
                                                           box.GetLanguageCode(2))),
                     {box.m_language});
    }
    MoreFields(page);
    page.U32("Pad", box.m_pad);
    page.U32x4("Pre defined", box.m_preDefined);
}

void HandlerRows(PageBuilder& page, const CHandlerBox& box) {
    page.Table();
    page.Row("Handler type", FourCCValue(box.m_handlerType), {box.m_handlerType});
    page.Row("Name", HandlerNameValue(box.m_name), {box.m_name});
    MoreFields(page);
    page.U32("Pre defined", box.m_preDefined);
    page.Derived("Reserved", WordsText(box.m_reserved, 3), {box.m_reserved});
}

// QuickTime's transfer modes; ISO files write 0, copy.
const char* GraphicsModeName(uint32_t mode) {
    switch (mode) {
        case 0x00: return "copy";
        case 0x20: return "blend";
        case 0x24: return "transparent";
        case 0x40: return "dither copy";
        case 0x100: return "straight alpha";
        case 0x101: return "premultiplied white alpha";
        case 0x102: return "premultiplied black alpha";
        case 0x103: return "composition";
        case 0x104: return "straight alpha blend";
        default: return "unknown";
    }
}

// "red 32768, green 32768, blue 32768": a QuickTime RGB colour, 16 bits a component.
std::string ColorText(const uint32_t (&rgb)[3]) { return Format("red %u, green %u, blue %u", rgb[0], rgb[1], rgb[2]); }

Text BalanceText(uint32_t raw) {
    const int16_t balance = int16_t(raw);
    const char* side = balance < 0 ? " left" : balance > 0 ? " right" : " centre";
    return FixedRawText(balance, 8, raw, 4) + side;
}

void VideoMediaHeaderRows(PageBuilder& page, const CVideoMediaHeaderBox& box) {
    MoreFields(page);
    page.Row("Graphics mode", U32Text4(box.m_graphicsmode) + " " + GraphicsModeName(box.m_graphicsmode),
             {box.m_graphicsmode});
    page.Derived("Opcolor", ColorText(box.m_opcolor), {box.m_opcolor});
}

void SoundMediaHeaderRows(PageBuilder& page, const CSoundMediaHeaderBox& box) {
    MoreFields(page);
    page.Row("Balance", BalanceText(box.m_balance), {box.m_balance});
    page.U32x4("Reserved", box.m_reserved);
}

void HintMediaHeaderRows(PageBuilder& page, const CHintMediaHeaderBox& box) {
    page.Table();
    page.U32("Max PDU size", box.m_maxPDUsize);
    page.U32("Avg PDU size", box.m_avgPDUsize);
    page.U32("Max bitrate", box.m_maxbitrate);
    page.U32("Avg bitrate", box.m_avgbitrate);
    page.U32("Reserved", box.m_reserved);
}

void EditListRows(PageBuilder& page, const CEditListBox& box) {
    page.Table();
    page.U32("Entry count", box.m_entryCount);
    page.List("Entries", {"Segment duration", "Media time", "Media rate integer", "Media rate fraction"});
    for (uint32_t i = 0; i < box.m_edits.size(); ++i)
        page.ListEntry({Format("%" PRIu64, box.m_edits[i].segmentDuration), Format("%" PRId64, box.GetMediaTime(i)),
                        Format("%d", box.GetMediaRateInteger(i)), Format("%d", box.GetMediaRateFraction(i))},
                       {box.m_edits[i]});
}

void DataReferenceRows(PageBuilder& page, const CDataReferencebox& box) {
    page.Table();
    page.U32("Entry count", box.m_entryCount);
}

void DataEntryUrlRows(PageBuilder& page, const CDataEntryUrlBox& box) {
    page.Table();
    page.Row("Location", StringValue(box.m_location), {box.m_location});
}

void DataEntryUrnRows(PageBuilder& page, const CDataEntryUrnBox& box) {
    page.Table();
    page.Row("Location", StringValue(box.m_location), {box.m_location});
    page.Row("Name", StringValue(box.m_name), {box.m_name});
}

void GenericMediaInfoRows(PageBuilder& page, const CGenericMediaInfoBox& box) {
    page.Table();
    page.Row("Graphics mode", U32Text4(box.m_graphicsMode) + " " + GraphicsModeName(box.m_graphicsMode),
             {box.m_graphicsMode});
    page.Derived("Opcolor", ColorText(box.m_opcolor), {box.m_opcolor});
    page.Row("Balance", BalanceText(box.m_balance), {box.m_balance});
    page.U32x4("Reserved", box.m_reserved);
}

// The page of a sample entry whose code other boxes share (text, tmcd), by its parent
// as a type without an entry of its own gets it.
std::string ByParentTitle(const CBox* parent) {
    if (!parent) return "";
    if (parent->m_type != FourCC("stsd")) return "Box";
    const auto* stsd = dynamic_cast<const CSampleDescriptionBox*>(parent);
    return SampleEntryTitle(stsd ? stsd->GetHandlerType() : 0);
}

void ByParentRows(PageBuilder& page, const CBox& box) {
    if (const CBox* parent = page.Context().parent; parent && parent->m_type == FourCC("stsd")) SampleEntryRows(page, box);
}

// text: in a gmhd the text media information, in an stsd a sample entry.
std::string TextTitle(const CBox* parent, const CBox& box) {
    return dynamic_cast<const CTextMediaInfoBox*>(&box) ? "Text Media Information Box" : ByParentTitle(parent);
}

void TextRows(PageBuilder& page, const CBox& box) {
    const auto* text = dynamic_cast<const CTextMediaInfoBox*>(&box);
    if (!text) return ByParentRows(page, box);
    page.Table();
    page.Derived("Matrix", MatrixText(text->m_matrix), {text->m_matrix});
}

// tmcd: in a gmhd the container of tcmi, in an stsd a sample entry, in a tref a reference.
std::string TimecodeTitle(const CBox* parent, const CBox&) {
    return parent && parent->m_type == FourCC("gmhd") ? "Timecode Media Box" : ByParentTitle(parent);
}

// The style bits of a QuickTime text face.
std::string FaceText(uint32_t face) {
    static const char* const kStyles[] = {"bold", "italic", "underline", "outline", "shadow", "condense", "extend"};
    std::string names;
    for (uint32_t bit = 0; bit < 7; ++bit)
        if (face & (1u << bit)) names += (names.empty() ? "" : ", ") + std::string(kStyles[bit]);
    return U32Text4(face) + " " + (names.empty() ? "plain" : names);
}

void TimecodeMediaInfoRows(PageBuilder& page, const CTimecodeMediaInfoBox& box) {
    page.Table();
    page.U32x4("Text font", box.m_textFont);
    page.Row("Text face", FaceText(box.m_textFace), {box.m_textFace});
    page.U32x4("Text size", box.m_textSize);
    page.U32x4("Reserved", box.m_reserved);
    page.Derived("Text color", ColorText(box.m_textColor), {box.m_textColor});
    page.Derived("Background color", ColorText(box.m_backgroundColor), {box.m_backgroundColor});
    page.U32x2("Font name length", box.m_fontNameLength);
    page.Row("Font name", StringValue(box.m_fontName), {box.m_fontName});
}

void ApertureDimensionsRows(PageBuilder& page, const CTrackApertureDimensionsBox& box) {
    page.Table();
    page.Row("Width", FixedRawText(box.m_width, 16, box.m_width), {box.m_width});
    page.Row("Height", FixedRawText(box.m_height, 16, box.m_height), {box.m_height});
}

void TrackLoadSettingsRows(PageBuilder& page, const CTrackLoadSettingsBox& box) {
    using B = CTrackLoadSettingsBox;
    page.Table();
    page.U32("Preload start time", box.m_preloadStartTime);
    page.Row("Preload duration", U32Text(box.m_preloadDuration) + (box.m_preloadDuration == UINT32_MAX ? " to the end" : ""),
             {box.m_preloadDuration});
    const char* preload = box.m_preloadFlags == B::kPreloadAlways      ? " always"
                          : box.m_preloadFlags == B::kPreloadIfEnabled ? " only if enabled"
                                                                       : "";
    page.Row("Preload flags", U32Text(box.m_preloadFlags) + preload, {box.m_preloadFlags});
    std::string hints;
    if (box.m_defaultHints & B::kDoubleBuffer) hints += " double buffer";
    if (box.m_defaultHints & B::kHighQuality) hints += std::string(hints.empty() ? "" : ",") + " high quality";
    page.Row("Default hints", U32Text(box.m_defaultHints) + hints, {box.m_defaultHints});
}

constexpr auto kFileType = RowsOf<CFileTypeBox, FileTypeRows>;
constexpr auto kAperture = RowsOf<CTrackApertureDimensionsBox, ApertureDimensionsRows>;
constexpr auto kFreeSpace = RowsOf<CFreeSpaceBox, FreeSpaceRows>;

constexpr BoxEntry kEntries[] = {
    {FourCC("ftyp"), "File Type Box", nullptr, kFileType},
    {FourCC("styp"), "Segment Type Box", nullptr, kFileType},
    {FourCC("pdin"), "Progressive Download Information Box", nullptr,
     RowsOf<CProgressiveDownloadbox, ProgressiveDownloadRows>},
    {FourCC("free"), "Free Space Box", nullptr, kFreeSpace},
    {FourCC("skip"), "Free Space Box", nullptr, kFreeSpace},
    {FourCC("mvhd"), "Movie Header Box", nullptr, RowsOf<CMovieHeaderBox, MovieHeaderRows>},
    {FourCC("tkhd"), "Track Header Box", nullptr, RowsOf<CTrackHeaderBox, TrackHeaderRows>},
    {FourCC("mdhd"), "Media Header Box", nullptr, RowsOf<CMediaHeaderBox, MediaHeaderRows>},
    {FourCC("hdlr"), "Handler Reference Box", nullptr, RowsOf<CHandlerBox, HandlerRows>},
    {FourCC("hmhd"), "Hint Media Header Box", nullptr, RowsOf<CHintMediaHeaderBox, HintMediaHeaderRows>},
    // The others have no fields of their own: the common header rows are the whole page.
    {FourCC("vmhd"), "Video Media Header Box", nullptr, RowsOf<CVideoMediaHeaderBox, VideoMediaHeaderRows>},
    {FourCC("smhd"), "Sound Media Header Box", nullptr, RowsOf<CSoundMediaHeaderBox, SoundMediaHeaderRows>},
    {FourCC("nmhd"), "MPEG4 Media Header Box"},
    {FourCC("crhd"), "NULL Media Header Box"},
    {FourCC("iphd"), "NULL Media Header Box"},
    {FourCC("m7hd"), "NULL Media Header Box"},
    {FourCC("mjhd"), "NULL Media Header Box"},
    {FourCC("ochd"), "NULL Media Header Box"},
    {FourCC("odhd"), "NULL Media Header Box"},
    {FourCC("sdhd"), "NULL Media Header Box"},
    // QuickTime's media information in a gmhd, and the aperture dimensions in a tapt.
    {FourCC("gmin"), "Generic Media Information Box", nullptr, RowsOf<CGenericMediaInfoBox, GenericMediaInfoRows>},
    {FourCC("text"), nullptr, TextTitle, TextRows},
    {FourCC("tmcd"), nullptr, TimecodeTitle, ByParentRows},
    {FourCC("tcmi"), "Timecode Media Information Box", nullptr, RowsOf<CTimecodeMediaInfoBox, TimecodeMediaInfoRows>},
    {FourCC("clef"), "Clean Aperture Dimensions Box", nullptr, kAperture},
    {FourCC("prof"), "Production Aperture Dimensions Box", nullptr, kAperture},
    {FourCC("enof"), "Encoded Pixels Dimensions Box", nullptr, kAperture},
    {FourCC("load"), "Track Load Settings Box", nullptr, RowsOf<CTrackLoadSettingsBox, TrackLoadSettingsRows>},
    // Edit lists, data references and track references (a reference type's page: the
    // common header rows; the titles of the types that have one).
    {FourCC("elst"), "Edit List Box", nullptr, RowsOf<CEditListBox, EditListRows>},
    {FourCC("dref"), "Data Reference Box", nullptr, RowsOf<CDataReferencebox, DataReferenceRows>},
    {FourCC("url "), "Data Entry Url Box", nullptr, RowsOf<CDataEntryUrlBox, DataEntryUrlRows>},
    {FourCC("urn "), "Data Entry Urn Box", nullptr, RowsOf<CDataEntryUrnBox, DataEntryUrnRows>},
    {FourCC("hind"), "Hind Sample Entry Box"},
    {FourCC("cdsc"), "Cdsc Sample Entry Box"},
    {FourCC("dpnd"), "dpnd Sample Entry Box"},
    {FourCC("mpod"), "mpod Sample Entry Box"},
};
}  // namespace

std::span<const BoxEntry> PresentationEntries() { return kEntries; }

void TrackReferenceRows(PageBuilder& page, const CBox& box) {
    const auto* reference = dynamic_cast<const CTrackReferenceTypeBox*>(&box);
    if (!reference) return;
    MoreFields(page);
    for (size_t i = 0; i < reference->m_trackIDs.size(); ++i)
        page.U32(Format("Track id (%zu)", i), reference->m_trackIDs[i]);
}
