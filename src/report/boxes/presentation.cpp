// The pages of the presentation boxes: file type, progressive download, free space,
// movie/track/media headers, handler and media information headers; edit lists,
// data and track references.
#include <cinttypes>
#include <cstring>

#include "boxes/presentation/data_reference_boxes.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "report/box_entry.h"
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

void VideoMediaHeaderRows(PageBuilder& page, const CVideoMediaHeaderBox& box) {
    MoreFields(page);
    page.Row("Graphics mode", U32Text4(box.m_graphicsmode) + " " + GraphicsModeName(box.m_graphicsmode),
             {box.m_graphicsmode});
    page.Derived("Opcolor", Format("red %u, green %u, blue %u", box.m_opcolor[0], box.m_opcolor[1], box.m_opcolor[2]),
                 {box.m_opcolor});
}

void SoundMediaHeaderRows(PageBuilder& page, const CSoundMediaHeaderBox& box) {
    MoreFields(page);
    const int16_t balance = int16_t(box.m_balance);
    const char* side = balance < 0 ? " left" : balance > 0 ? " right" : " centre";
    page.Row("Balance", FixedRawText(balance, 8, box.m_balance, 4) + side, {box.m_balance});
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

constexpr auto kFileType = RowsOf<CFileTypeBox, FileTypeRows>;
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
