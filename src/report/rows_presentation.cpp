// The own tables of the presentation boxes: file type, progressive download, free
// space, movie/track/media headers, handler and the media information headers.
#include <cstring>

#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/media_header_boxes.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/progressive_download_box.h"
#include "report/box_rows.h"
#include "report/format.h"

namespace {
// "%c%c%c%c (0X%08X)": a brand's characters, then its code.
Text BrandText(uint32_t code) { return FourCCValue(code) + Text(Format(" (0X%08X)", code)); }

// "%s (0X%08X)": the date text, then the low 32 bits of the raw time.
Text DateText(uint64_t t) { return Text(FormatDateText(t) + Format(" (0X%08X)", static_cast<uint32_t>(t))); }

void AddTimes(ReportTable& t, uint64_t creation, uint64_t modification) {
    t.AddRow("Creation time(UTC)", DateText(creation));
    t.AddRow("Modification time(UTC)", DateText(modification));
}

bool FileTypeRows(PageModel& page, const CFileTypeBox& box) {
    ReportTable t;
    t.AddRow("Major brand", BrandText(box.m_majorBrand));
    t.AddRow("Minor version", Text(U32Text(box.m_minorVersion)));
    Text brands;
    for (size_t i = 0; i < box.GetCompatibleBrandCount(); ++i) {
        if (i) brands += Text(", ");
        brands += BrandText(box.GetCompatibleBrand(i));
    }
    t.AddRow("Compatible brands", brands);
    page.tables.push_back(std::move(t));
    return true;
}

bool ProgressiveDownloadRows(PageModel& page, const CProgressiveDownloadbox& box) {
    ReportTable t;
    t.AddRow("List count", Text(U32Text(static_cast<uint32_t>(box.GetEntryCount()))));
    page.tables.push_back(std::move(t));
    ReportTable list("PDIN List", TableKind::List);
    std::vector<Text> rates, delays;
    for (size_t i = 0; i < box.GetEntryCount(); ++i) {
        rates.emplace_back(U32Text(box.GetRate(i)));
        delays.emplace_back(U32Text(box.GetInitialDelay(i)));
    }
    list.AddColumn("rate", std::move(rates));
    list.AddColumn("Initial delay", std::move(delays));
    page.tables.push_back(std::move(list));
    return true;
}

bool MovieHeaderRows(PageModel& page, const CMovieHeaderBox& box) {
    ReportTable t;
    AddTimes(t, box.m_creationTime, box.m_modificationTime);
    t.AddRow("Time scale", Text(U32Text(box.m_timescale)));
    t.AddRow("Duration", Text(U64Text(box.m_duration)));
    // The product wraps like the unsigned 64-bit arithmetic it is; timescale 0 shows it undivided.
    uint64_t ms = box.m_duration * 1000u;
    if (box.m_timescale != 0) ms /= box.m_timescale;
    t.AddRow("Duration(ms)", Text(Format("%llu", static_cast<unsigned long long>(ms))));
    t.AddRow("Next track id", Text(U32Text(box.m_nextTrackID)));
    t.AddRow("Volume", Text(Format("%.01f (0X%04X>>8)", static_cast<double>(box.m_volume >> 8), box.m_volume)));
    t.AddRow("Rate", Text(Format("%.01f (0X%08X>>16)", static_cast<double>(static_cast<int32_t>(box.m_rate) >> 16),
                                 box.m_rate)));
    page.tables.push_back(std::move(t));
    return true;
}

bool TrackHeaderRows(PageModel& page, const CTrackHeaderBox& box) {
    ReportTable t;
    AddTimes(t, box.m_creationTime, box.m_modificationTime);
    t.AddRow("Track id", Text(U32Text(box.m_trackID)));
    t.AddRow("Duration", Text(U64Text(box.m_duration)));
    t.AddRow("Width", Text(Format("%.01f (0X%08X>>16)", static_cast<double>(box.m_width >> 16), box.m_width)));
    t.AddRow("Height", Text(Format("%.01f (0X%08X>>16)", static_cast<double>(box.m_height >> 16), box.m_height)));
    page.tables.push_back(std::move(t));
    return true;
}

bool MediaHeaderRows(PageModel& page, const CMediaHeaderBox& box) {
    ReportTable t;
    AddTimes(t, box.m_creationTime, box.m_modificationTime);
    t.AddRow("Time scale", Text(U32Text(box.GetTimescale())));
    t.AddRow("Duration", Text(U64Text(box.GetDuration())));
    // "und(0X15+0x60, 0X0E+0x60, 0X04+0x60)": the letters, then their 5-bit codes.
    std::string letters;
    for (int i = 0; i < 3; ++i) letters += static_cast<char>(box.GetLanguageCode(i) + 0x60);
    t.AddRow("Language", Text::FromFile(letters) + Text(Format("(0X%02X+0x60, 0X%02X+0x60, 0X%02X+0x60)",
                                                                   box.GetLanguageCode(0), box.GetLanguageCode(1),
                                                                   box.GetLanguageCode(2))));
    page.tables.push_back(std::move(t));
    return true;
}

bool HandlerRows(PageModel& page, const CHandlerBox& box) {
    ReportTable t;
    t.AddRow("Handler type", FourCCValue(box.GetHandlerType()));
    // The name shows up to its first zero byte.
    const std::string name = box.GetName();
    t.AddRow("Name", Text::FromFile(std::string_view(name.c_str(), std::strlen(name.c_str()))));
    page.tables.push_back(std::move(t));
    return true;
}

bool HintMediaHeaderRows(PageModel& page, const CHintMediaHeaderBox& box) {
    ReportTable t;
    t.AddRow("Max PDU size", Text(U32Text(box.m_maxPDUsize)));
    t.AddRow("Avg PDU size", Text(U32Text(box.m_avgPDUsize)));
    t.AddRow("Max bitrate", Text(U32Text(box.m_maxbitrate)));
    t.AddRow("Avg bitrate", Text(U32Text(box.m_avgbitrate)));
    t.AddRow("Reserved", Text(U32Text(box.m_reserved)));
    page.tables.push_back(std::move(t));
    return true;
}
}  // namespace

bool AddPresentationRows(PageModel& page, const CBox& box, const RowContext&) {
    if (auto* b = dynamic_cast<const CFileTypeBox*>(&box)) return FileTypeRows(page, *b);
    if (auto* b = dynamic_cast<const CProgressiveDownloadbox*>(&box)) return ProgressiveDownloadRows(page, *b);
    if (auto* b = dynamic_cast<const CFreeSpaceBox*>(&box)) {
        ReportTable t;
        t.AddRow("Space size", Text(U32Text(static_cast<uint32_t>(b->GetSpaceSize()))));
        page.tables.push_back(std::move(t));
        return true;
    }
    if (auto* b = dynamic_cast<const CMovieHeaderBox*>(&box)) return MovieHeaderRows(page, *b);
    if (auto* b = dynamic_cast<const CTrackHeaderBox*>(&box)) return TrackHeaderRows(page, *b);
    if (auto* b = dynamic_cast<const CMediaHeaderBox*>(&box)) return MediaHeaderRows(page, *b);
    if (auto* b = dynamic_cast<const CHandlerBox*>(&box)) return HandlerRows(page, *b);
    if (auto* b = dynamic_cast<const CHintMediaHeaderBox*>(&box)) return HintMediaHeaderRows(page, *b);
    // Their own fields are not shown: the common header rows are the whole page.
    return dynamic_cast<const CVideoMediaHeaderBox*>(&box) || dynamic_cast<const CSoundMediaHeaderBox*>(&box) ||
           dynamic_cast<const CMPEG4MediaHeaderBox*>(&box) || dynamic_cast<const CNullMediaHeaderBox*>(&box);
}
