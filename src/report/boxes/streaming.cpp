// The pages of the streaming extension boxes: HTTP Dynamic Streaming bootstrap and
// random access boxes, the Smooth Streaming tfxd and tfrf, and the XMP box.
#include <cinttypes>

#include "boxes/streaming/bootstrap_info_box.h"
#include "boxes/streaming/fragment_random_access_box.h"
#include "boxes/streaming/run_table_boxes.h"
#include "boxes/streaming/smooth_streaming_boxes.h"
#include "boxes/streaming/user_types.h"
#include "boxes/streaming/xmp_metadata_box.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {
std::string Number(uint64_t v) { return Format("%" PRIu64, v); }

void AfraRows(PageBuilder& page, const CFragmentRandomAccessBox& b) {
    page.Table();
    page.U32x2("LongIDs", b.m_LongIDs);
    page.U32x2("Long offsets", b.m_LongOffsets);
    page.U32x2("Global entries", b.m_GlobalEntries);
    page.U32("Reserved", b.m_reserved);
    page.U32("Local entry count", b.m_EntryCount);
    page.U32("Global entry count", b.m_GlobalEntryCount);
    page.List("Local entries", {"Time", "Offset"});
    for (const auto& e : b.m_localEntries) page.ListEntry({Number(e.time), Number(e.offset)}, {e});
    page.List("Global entries", {"Time", "Segment", "Fragment", "Afra offset", "Offset from afra"});
    for (const auto& e : b.m_globalEntries)
        page.ListEntry({Number(e.time), Number(e.segment), Number(e.fragment), Number(e.afraOffset),
                        Number(e.offsetFromAfra)},
                       {e});
    MoreFields(page);
    page.U32("Time scale", b.m_TimeScale);
}

// A server or quality entry: its length (the text's bytes) and its text.
void TextEntries(PageBuilder& page, const char* title, const std::vector<CBootStrapInfoBox::TextEntry>& entries) {
    page.List(title, {"Length", "Data"});
    for (const auto& e : entries) page.ListEntry({Number(e.length), Text::FromFile(e.data)}, {e});
}

void AbstRows(PageBuilder& page, const CBootStrapInfoBox& b) {
    page.Table();
    page.U32x2("Version", b.m_BootstrapinfoVersion);
    page.U32x2("Profile", b.m_Profile);
    page.U32x2("Live", b.m_Live);
    page.U32x2("Update", b.m_Update);
    page.U32x2("Reserved", b.m_reserved);
    page.U32("Time scale", b.m_TimeScale);
    // The current media time read as seconds since 1904, as every date of the pages.
    page.Derived("Current Media Time", FormatDateText(b.m_CurrentMediaTime), {b.m_CurrentMediaTime});
    page.U64("Smpte time code offset", b.m_SmpteTimeCodeOffset);
    page.Row("Movie identifier", Text::FromFile(b.m_MovieIdentifier), {b.m_MovieIdentifier});
    page.Row("Drm data", Text::FromFile(b.m_DrmData), {b.m_DrmData});
    page.Row("Meta dat", Text::FromFile(b.m_MetaData), {b.m_MetaData});
    page.U32("Server entry count", b.m_ServerEntryCount);
    page.U32("Quality entry count", b.m_QualityEntryCount);
    page.U32("Segment run table count", b.m_SegmentRunTableCount);
    TextEntries(page, "Server entries", b.m_servers);
    TextEntries(page, "Quality entries", b.m_qualities);
    // The date above reads the time as seconds; it counts time scale units: the number itself.
    MoreFields(page);
    page.U64("Current media time", b.m_CurrentMediaTime);
    page.U32("Fragment run table count", b.m_FragmentRunTableCount);
}

void Modifiers(PageBuilder& page, const std::vector<std::string>& modifiers) {
    page.List("Quality entries", {"Quality segment url modifiers"});
    for (const std::string& m : modifiers) page.ListEntry({Text::FromFile(m)}, {m});
}

void AsrtRows(PageBuilder& page, const CSegmentRunTableBox& b) {
    page.Table();
    page.U32("Quality entry count", b.m_QualityEntryCount);
    page.U32("Segment run entry count", b.m_SegmentRunEntryCount);
    Modifiers(page, b.m_qualitySegmentUrlModifiers);
    page.List("Segment Run Entries", {"First segment", "First per segment"});
    for (const auto& e : b.m_entries) page.ListEntry({Number(e.firstSegment), Number(e.fragmentsPerSegment)}, {e});
}

void AfrtRows(PageBuilder& page, const CFragmentRunTableBox& b) {
    page.Table();
    page.U32("Time scale", b.m_TimeScale);
    page.U32("Quality entry count", b.m_QualityEntryCount);
    page.U32("Fragment run entry count", b.m_FragmentEntryCount);
    Modifiers(page, b.m_qualitySegmentUrlModifiers);
    page.List("Fragment Run Entries",
              {"First segment", "First fragment timestamp", "First duration", "Discontinuity indicator"});
    for (const auto& e : b.m_entries)
        page.ListEntry({Number(e.firstFragment), Number(e.firstFragmentTimestamp), Number(e.fragmentDuration),
                        Number(e.discontinuityIndicator)},
                       {e});
}

void TfxdRows(PageBuilder& page, const CTfxdBox& b) {
    page.Table();
    page.U64("Fragment absolute time stamp", b.m_fragmentAbsoluteTime);
    page.U64("Fragment duration", b.m_fragmentDuration);
}

void TfrfRows(PageBuilder& page, const CTfrfBox& b) {
    page.Table();
    page.U32("Fragment count", b.m_fragmentCount);
    page.List("Fragment info", {"Fragment absolute time stamp", "Fragment duration"});
    for (const auto& f : b.m_fragments) page.ListEntry({U64Text(f.absoluteTime), U64Text(f.duration)}, {f});
}

// "%S": the XMP text up to its first zero byte.
void XmpRows(PageBuilder& page, const CXMPMetadataBox& b) {
    page.Table();
    page.Row("XMP meta data", Text::FromFile(b.m_xmp.c_str()), {b.m_xmp});
}

// A uuid box is told by where it stands and by its user type: at the top level the XMP
// box, in a track fragment tfxd and tfrf; PIFF's protection boxes wherever they stand;
// anywhere else the header rows only.
std::string UuidTitle(const CBox* parent, const CBox& box) {
    if (std::string piff = ProtectionUuidTitle(box); !piff.empty()) return piff;
    if (!parent) return "XMP Metadata box";
    if (parent->m_type == FourCC("traf")) {
        if (HasUserType(box, kTfxdUserType)) return "Tfxd Box";
        if (HasUserType(box, kTfrfUserType)) return "Tfrf Box";
    }
    return "Universal Unique Identifier";
}

void UuidRows(PageBuilder& page, const CBox& box) {
    const CBox* parent = page.Context().parent;
    if (ProtectionUuidRows(page, box)) return;
    if (!parent) {
        if (auto* xmp = dynamic_cast<const CXMPMetadataBox*>(&box)) XmpRows(page, *xmp);
    } else if (parent->m_type == FourCC("traf")) {
        if (auto* tfxd = dynamic_cast<const CTfxdBox*>(&box)) TfxdRows(page, *tfxd);
        if (auto* tfrf = dynamic_cast<const CTfrfBox*>(&box)) TfrfRows(page, *tfrf);
    }
}

constexpr BoxEntry kEntries[] = {
    {FourCC("abst"), "Bootstrap Info Box", nullptr, RowsOf<CBootStrapInfoBox, AbstRows>},
    {FourCC("afra"), "Fragment Random Access box", nullptr, RowsOf<CFragmentRandomAccessBox, AfraRows>},
    {FourCC("afrt"), "Fragment Run Table Box", nullptr, RowsOf<CFragmentRunTableBox, AfrtRows>},
    {FourCC("asrt"), "Segment Run Table Box", nullptr, RowsOf<CSegmentRunTableBox, AsrtRows>},
    {FourCC("uuid"), nullptr, UuidTitle, UuidRows, ProtectionUuidEntries},
};
}  // namespace

std::span<const BoxEntry> StreamingEntries() { return kEntries; }
