// The pages of the protection boxes of a protected or restricted sample entry.
#include <optional>

#include "boxes/containers/corvel.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/protection/protection_boxes.h"
#include "boxes/protection/protection_system_header_box.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/protection/track_encryption_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/streaming/user_types.h"
#include "report/box_entry.h"
#include "report/more_fields.h"
#include "samples/sample_context.h"
#include "samples/sample_encryption.h"

namespace {
// The Common Encryption schemes and PIFF's, by their scheme type.
const char* SchemeName(uint32_t type) {
    switch (type) {
        case FourCC("cenc"): return "AES-CTR, full samples or subsamples";
        case FourCC("cbc1"): return "AES-CBC, full samples or subsamples";
        case FourCC("cens"): return "AES-CTR, subsample pattern";
        case FourCC("cbcs"): return "AES-CBC, subsample pattern, constant IV";
        case FourCC("piff"): return "PIFF (AES-CTR or AES-CBC)";
        default: return nullptr;
    }
}

void OriginalFormatRows(PageBuilder& page, const COriginalFormatBox& b) {
    MoreFields(page).Row("Data format", CodeText(b.m_dataFormat), {b.m_dataFormat});
}

void SchemeTypeRows(PageBuilder& page, const CSchemeTypeBox& b) {
    MoreFields(page);
    Text type = CodeText(b.m_schemeType);
    if (const char* name = SchemeName(b.m_schemeType)) type += Text(std::string(" ") + name);
    page.Row("Scheme type", type, {b.m_schemeType});
    page.Row("Scheme version", Format("%u.%u (0X%08X)", b.m_schemeVersion >> 16, b.m_schemeVersion & 0xFFFF,
                                      b.m_schemeVersion),
             {b.m_schemeVersion});
    if (b.m_flags & 1) page.Row("Scheme URI", StringValue(b.m_schemeUri), {b.m_schemeUri});
}

// 16 bytes as a UUID: "edef8ba9-79d6-4ace-a3c8-27dcd51d21ed".
std::string UuidText(const uint8_t* b) {
    std::string s;
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) s += '-';
        s += Format("%02x", b[i]);
    }
    return s;
}

Text BytesValue(const std::vector<uint8_t>& bytes) { return FormatBytesText(bytes.data(), bytes.size()); }

void TrackEncryptionRows(PageBuilder& page, const CTrackEncryptionBox& b) {
    page.Table();
    page.U32x2("Reserved", b.m_reserved);
    if (b.m_version >= 1) {
        page.Row("Default crypt byte block", U32Text2(b.m_cryptByteBlock), {b.m_cryptByteBlock});
        page.Row("Default skip byte block", U32Text2(b.m_skipByteBlock), {b.m_skipByteBlock});
    } else {
        const uint32_t reserved = b.m_cryptByteBlock << 4 | b.m_skipByteBlock;
        page.Row("Reserved", U32Text2(reserved), {b.m_cryptByteBlock, b.m_skipByteBlock});
    }
    page.Row("Default is protected",
             U32Text2(b.m_isProtected) + (b.m_isProtected == 1   ? " protected"
                                          : b.m_isProtected == 0 ? " not protected"
                                                                 : ""),
             {b.m_isProtected});
    page.U32x2("Default per-sample IV size", b.m_perSampleIvSize);
    page.Row("Default KID", UuidText(b.m_kid.data()), {b.m_kid});
    if (b.HasConstantIv()) {
        page.U32x2("Default constant IV size", b.m_constantIvSize);
        page.Row("Default constant IV", BytesValue(b.m_constantIv), {b.m_constantIv});
    }
}

void ProtectionSystemRows(PageBuilder& page, const CProtectionSystemHeaderBox& b) {
    page.Table();
    std::string system = UuidText(b.m_systemId.data());
    if (const char* name = DrmSystemName(b.m_systemId.data())) system += std::string(" ") + name;
    page.Row("System ID", system, {b.m_systemId});
    if (b.m_version >= 1) {
        page.U32("KID count", b.m_kidCount);
        page.List("KIDs", {"KID"});
        for (const auto& kid : b.m_kids) page.ListEntry({Text(UuidText(kid.data()))}, {kid});
        page.Table();
    }
    page.U32("Data size", b.m_dataSize);
    page.Row("Data", BytesValue(b.m_data), {b.m_data});
    if (b.m_playReadyRecords.empty() && b.m_playReadyLength == 0) return;
    page.Table("PlayReady Object");
    page.U32("Length", b.m_playReadyLength);
    page.U32x4("Record count", b.m_playReadyRecordCount);
    page.List("PlayReady Object Records", {"Type", "Length", "Value"});
    for (const auto& r : b.m_playReadyRecords) {
        // A rights management header is UTF-16LE XML.
        const std::string_view raw(reinterpret_cast<const char*>(r.value.data()), r.value.size());
        const Text value = r.type == 1 ? Text::FromFile(Utf8FromUtf16(raw, true, true)) : BytesValue(r.value);
        page.ListEntry({Text(U32Text4(r.type) + (r.type == 1 ? " rights management header" : "")),
                        Text(U32Text4(r.length)), value},
                       {r.type, r.length, r.value});
    }
}

// The track's per-sample IV size for a senc below `parent` (a traf or an stbl): a seig
// group of the parent's first, then the track's tenc; "" when neither is found. A streamed
// walk has let the moov go and hands on the facts it kept of it.
std::string KnownIvSize(const PageContext& context) {
    const CBox* parent = context.parent;
    std::optional<SampleContext> local;
    if (!context.samples && context.parser) local.emplace(*context.parser);
    const SampleContext* samples = context.samples ? context.samples : local ? &*local : nullptr;
    if (!parent || !samples) return "";
    uint32_t trackId = 0;
    if (parent->m_type == FourCC("traf")) {
        if (const auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(parent->RetrieveChildBox(FourCC("tfhd"), true)))
            trackId = tfhd->m_trackId;
    } else {
        for (const auto& table : samples->TrackTables())
            if (table.id == parent->m_id) trackId = table.trackId;
    }
    const TrackProtection* track = samples->Protection(trackId);
    if (!track) return "";
    const char* from = nullptr;
    const uint32_t size = ContainerEncryption(*parent, *track).KnownIvSize(from);
    return Format("%u (0X%02X) from %s", size, size, from);
}

void SampleEncryptionRows(PageBuilder& page, const CSampleEncryptionBox& b) {
    page.Table();
    if (b.m_flags & CSampleEncryptionBox::kOverrideTrackEncryption) {
        page.Row("Algorithm ID",
                 U32Text(b.m_algorithmId) + (b.m_algorithmId == 1   ? " AES-CTR"
                                             : b.m_algorithmId == 2 ? " AES-CBC"
                                             : b.m_algorithmId == 0 ? " not encrypted"
                                                                    : ""),
                 {b.m_algorithmId});
        page.U32x2("IV size", b.m_ivSize);
        page.Row("KID", UuidText(b.m_kid.data()), {b.m_kid});
    }
    page.U32("Sample count", b.m_sampleCount);
    if (!(b.m_flags & CSampleEncryptionBox::kOverrideTrackEncryption)) {
        // The records are read with the size that fills the box; the track's own is shown
        // when the file tells it.
        const std::string known = KnownIvSize(page.Context());
        page.Derived("Per-sample IV size", known.empty() ? Format("%u (inferred)", b.m_ivSize) : known, {});
        if (!known.empty() && std::stoul(known) != b.m_ivSize)
            page.Derived("Per-sample IV size the records take", Format("%u (inferred)", b.m_ivSize), {});
    }
    page.EntryPages("Samples", uint32_t(b.m_records.size()),
                    b.m_records.empty() ? std::initializer_list<Source>{}
                                        : std::initializer_list<Source>{b.m_records.front(), b.m_records.back()});
}

EntryList SampleEncryptionEntries(const CSampleEncryptionBox& b) {
    return {{"IV", "Subsample count", "Subsamples (clear, protected bytes)"},
            b.m_records.size(),
            [&b](uint32_t i, std::vector<EntryCell>& c) {
                const auto& r = b.m_records[i];
                std::string pairs;
                for (uint32_t k = 0; k < r.subsampleCount; ++k) {
                    const auto& s = b.m_subsamples[r.firstSubsample + k];
                    pairs += Format("%u, %u\n", s.clearBytes, s.protectedBytes);
                }
                c = {{b.m_ivSize ? FormatBytesText(r.iv.data(), b.m_ivSize) : ""}, CellU(r.subsampleCount),
                     {pairs, true}};
            },
            [&b](uint32_t i) {
                return i < b.m_records.size() ? std::vector<Source>{b.m_records[i]} : std::vector<Source>{};
            }};
}

const BoxEntry kEntries[] = {
    {FourCC("frma"), "Original Format Box", nullptr, RowsOf<COriginalFormatBox, OriginalFormatRows>},
    {FourCC("schm"), "Scheme Type Box", nullptr, RowsOf<CSchemeTypeBox, SchemeTypeRows>},
    {FourCC("schi"), "Scheme Information Box"},
    {FourCC("sinf"), "Protection Scheme Information Box"},
    {FourCC("rinf"), "Restricted Scheme Information Box"},
    {FourCC("tenc"), "Track Encryption Box", nullptr, RowsOf<CTrackEncryptionBox, TrackEncryptionRows>},
    {FourCC("senc"), "Sample Encryption Box", nullptr, RowsOf<CSampleEncryptionBox, SampleEncryptionRows>,
     EntriesOf<CSampleEncryptionBox, SampleEncryptionEntries>},
    {FourCC("pssh"), "Protection System Specific Header Box", nullptr,
     RowsOf<CProtectionSystemHeaderBox, ProtectionSystemRows>},
};
}  // namespace

std::span<const BoxEntry> ProtectionEntries() { return kEntries; }

// Titled by the class the parse made: where the box does not belong (a top-level PIFF
// uuid) it stays a plain box.
std::string ProtectionUuidTitle(const CBox& box) {
    if (HasUserType(box, kPiffTrackEncryptionUserType) && dynamic_cast<const CTrackEncryptionBox*>(&box))
        return "PIFF Track Encryption Box";
    if (HasUserType(box, kPiffSampleEncryptionUserType) && dynamic_cast<const CSampleEncryptionBox*>(&box))
        return "PIFF Sample Encryption Box";
    if (HasUserType(box, kPiffProtectionSystemUserType) && dynamic_cast<const CProtectionSystemHeaderBox*>(&box)) return "PIFF Protection System Specific Header Box";
    return "";
}

bool ProtectionUuidRows(PageBuilder& page, const CBox& box) {
    if (const auto* tenc = dynamic_cast<const CTrackEncryptionBox*>(&box)) TrackEncryptionRows(page, *tenc);
    else if (const auto* senc = dynamic_cast<const CSampleEncryptionBox*>(&box)) SampleEncryptionRows(page, *senc);
    else if (const auto* pssh = dynamic_cast<const CProtectionSystemHeaderBox*>(&box)) ProtectionSystemRows(page, *pssh);
    else return false;
    return true;
}

EntryList ProtectionUuidEntries(const CBox& box) {
    return EntriesOf<CSampleEncryptionBox, SampleEncryptionEntries>(box);
}
