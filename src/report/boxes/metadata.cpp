// The pages of the user data and metadata boxes, item information, track selection,
// track groups and hint information; QuickTime keys, chapters, location, name, ID3.
#include <cinttypes>
#include <string_view>

#include "boxes/containers/containers.h"
#include "boxes/metadata/chapter_list_box.h"
#include "boxes/metadata/hint_information_boxes.h"
#include "boxes/metadata/id3_tag_box.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/metadata/location_box.h"
#include "boxes/metadata/metadata_keys_box.h"
#include "boxes/metadata/name_box.h"
#include "boxes/metadata/tag_boxes.h"
#include "boxes/metadata/track_grouping_boxes.h"
#include "boxes/metadata/user_data_text_box.h"
#include "boxes/metadata/xml_boxes.h"
#include "report/box_entry.h"
#include "report/more_fields.h"

namespace {
// Bytes shown as byte text on a page row; longer data shows its first bytes only.
constexpr size_t kMaxRowBytes = 1024;
// Bytes shown in a list cell (cover art and other binary item data).
constexpr size_t kMaxCellBytes = 16;

std::string CopyrightTitle(const CBox* parent, const CBox&) {
    return parent && parent->m_type == FourCC("moov") ? "Tag Box" : "Copyright Box";
}

// No table at all without a parent box. An hnti lies in a udta: the udta's own parent
// tells the movie's hint information from a track's.
std::string HintInformationTitle(const CBox* parent, const CBox&) {
    if (!parent) return "";
    const auto* udta = dynamic_cast<const CUserDataBox*>(parent);
    const uint32_t level = udta ? udta->m_parentType : parent->m_type;
    if (level == FourCC("moov")) return "Movie SDP information";
    if (level == FourCC("trak")) return "Track SDP information";
    return "SDP Information";
}

// "eng (0X05+0x60, 0X0E+0x60, 0X07+0x60)": the letters, then their 5-bit codes.
Text LanguageText(const uint32_t (&codes)[3]) {
    std::string letters;
    for (uint32_t c : codes) letters += static_cast<char>(c + 0x60);
    return Text::FromFile(letters) +
           Text(Format(" (0X%02X+0x60, 0X%02X+0x60, 0X%02X+0x60)", codes[0], codes[1], codes[2]));
}

void LanguageTextRows(PageBuilder& page, const uint32_t& pad, const uint32_t (&language)[3], const std::string& text,
                      const char* label) {
    page.Table();
    page.U32x2("Pad", pad);
    page.Derived("Language", LanguageText(language), {language});
    page.Row(label, StringValue(text), {text});
}

void TagRows(PageBuilder& page, const CTagBox& b) { LanguageTextRows(page, b.m_pad, b.m_language, b.m_tagString, "Tag string"); }

// cprt is a tag directly in a moov and the copyright box elsewhere.
void CopyrightRows(PageBuilder& page, const CBox& box) {
    if (auto* tag = dynamic_cast<const CTagBox*>(&box)) TagRows(page, *tag);
    if (auto* c = dynamic_cast<const CCopyrightBox*>(&box)) LanguageTextRows(page, c->m_pad, c->m_language, c->m_notice, "Notice");
}

// "N bytes: 0x.. 0x.. ...": the count, then the first bytes.
std::string BytesWithCount(const uint8_t* p, size_t n, size_t shown) {
    std::string text = Format("%zu bytes", n);
    if (n) text += ": " + FormatBytesText(p, std::min(n, shown)) + (n > shown ? " ..." : "");
    return text;
}

// A big-endian integer of 1 to 8 bytes; false for other widths.
bool ReadInteger(const std::string& bytes, bool isSigned, std::string& out) {
    const size_t n = bytes.size();
    if (n < 1 || n > 8) return false;
    uint64_t v = 0;
    for (unsigned char c : bytes) v = (v << 8) | c;
    if (isSigned && n < 8 && (v >> (8 * n - 1)) & 1) v |= ~uint64_t{0} << (8 * n);
    out = isSigned ? Format("%" PRId64, static_cast<int64_t>(v)) : Format("%" PRIu64, v);
    return true;
}

// An item's value as its data type says: text, a number, a track or disc position
// ("3/12"), or its bytes (cover art, anything else) with their count.
Text PayloadText(const CIlstBox::Record& r) {
    const std::string& p = r.payload;
    std::string number;
    if (r.dataTag == FourCC("data")) {
        switch (r.dataType) {
            case 1:  // UTF-8
            case 4:  // UTF-8, for sorting
                return StringValue(p);
            case 21:  // big-endian signed integers
            case 65:
            case 66:
            case 67:
            case 74:
                if (ReadInteger(p, true, number)) return number;
                break;
            case 22:  // big-endian unsigned integers
            case 75:
            case 76:
            case 77:
            case 78:
                if (ReadInteger(p, false, number)) return number;
                break;
            case 0:  // implicit: the track and disc numbers are reserved, position, total
                if ((r.tagName == FourCC("trkn") || r.tagName == FourCC("disk")) && p.size() >= 6)
                    return Format("%u/%u", (unsigned(uint8_t(p[2])) << 8) | uint8_t(p[3]),
                                  (unsigned(uint8_t(p[4])) << 8) | uint8_t(p[5]));
                break;
        }
    }
    return BytesWithCount(reinterpret_cast<const uint8_t*>(p.data()), p.size(), kMaxCellBytes);
}

void IlstRows(PageBuilder& page, const CIlstBox& b) {
    page.Table();
    page.Derived("Tag count", U32Text(b.m_tagCount), {});
    page.List("Tag Record", {"Tag length", "Tag name", "Data length", "Data tag", "Data type", "Reserved", "Payload"});
    for (const CIlstBox::Record& r : b.m_records)
        page.ListEntry({Format("%u", r.tagLength), FourCCValue(r.tagName), Format("%u", r.dataLength),
                        FourCCValue(r.dataTag), Format("%u", r.dataType), Format("%u", r.reserved), PayloadText(r)},
                       {r});
    // Beside a keys box, an item's type is the index of its key, from 1.
    const CBox* meta = page.Context().parent;
    const CMetadataKeysBox* keys = meta ? KeysOf(*meta) : nullptr;
    if (!keys || b.m_records.empty()) return;
    MoreFields(page);
    for (size_t i = 0; i < b.m_records.size(); ++i) {
        const uint32_t index = b.m_records[i].tagName;
        const CMetadataKeysBox::Key* key = keys->KeyAt(index);
        page.Derived(Format("Key (item %zu)", i + 1),
                     key ? Text::FromFile(key->name) + Text(Format(" (key %u)", index))
                         : Text(Format("%u (0X%08X) past the %zu keys", index, index, keys->m_keys.size())),
                     {b.m_records[i].tagName});
    }
}

void KeysRows(PageBuilder& page, const CMetadataKeysBox& b) {
    page.Table();
    page.U32("Entry count", b.m_entryCount);
    page.List("Keys", {"Key index", "Key size", "Key namespace", "Key name"});
    for (size_t i = 0; i < b.m_keys.size(); ++i) {
        const CMetadataKeysBox::Key& k = b.m_keys[i];
        page.ListEntry({Format("%zu", i + 1), Format("%u", k.size), CodeText(k.keyNamespace), Text::FromFile(k.name)},
                       {k});
    }
}

void ChapterListRows(PageBuilder& page, const CChapterListBox& b) {
    page.Table();
    if (b.m_version >= 1) page.U32("Reserved", b.m_reserved);
    page.U32x2("Chapter count", b.m_chapterCount);
    page.List("Chapters", {"Start time (100 ns)", "Start time (s)", "Title length", "Title"});
    for (const CChapterListBox::Chapter& c : b.m_chapters)
        page.ListEntry({Format("%" PRIu64, c.startTime), Format("%.3f", double(c.startTime) / CChapterListBox::kUnitsPerSecond),
                        Format("%u", c.titleLength), Text::FromFile(c.title)},
                       {c});
}

// A loci text: UTF-8, or UTF-16 after a byte order mark (shown converted, so derived).
void LocationTextRow(PageBuilder& page, const char* label, const std::string& raw) {
    const bool bom = raw.size() >= 2 && ((uint8_t(raw[0]) == 0xFE && uint8_t(raw[1]) == 0xFF) ||
                                         (uint8_t(raw[0]) == 0xFF && uint8_t(raw[1]) == 0xFE));
    if (bom) page.Derived(label, Text::FromFile(Utf8FromUtf16(raw)), {raw});
    else page.Row(label, Text::FromFile(raw), {raw});
}

// "-122.5 (0XFF858000)": a signed 16.16 number.
std::string SignedFixed(uint32_t raw) { return FixedRawText(int32_t(raw), 16, raw); }

void LocationRows(PageBuilder& page, const CLocationBox& b) {
    static const char* const kRoles[] = {"shooting location", "real location", "fictional location"};
    page.Table();
    page.U32x2("Pad", b.m_pad);
    page.Derived("Language", LanguageText(b.m_language), {b.m_language});
    LocationTextRow(page, "Name", b.m_name);
    page.Row("Role", U32Text2(b.m_role) + " " + (b.m_role < 3 ? kRoles[b.m_role] : "reserved"), {b.m_role});
    page.Row("Longitude", SignedFixed(b.m_longitude), {b.m_longitude});
    page.Row("Latitude", SignedFixed(b.m_latitude), {b.m_latitude});
    page.Row("Altitude", SignedFixed(b.m_altitude), {b.m_altitude});
    LocationTextRow(page, "Astronomical body", b.m_body);
    LocationTextRow(page, "Additional notes", b.m_notes);
}

void NameRows(PageBuilder& page, const CNameBox& b) {
    page.Table();
    page.Row("Name", StringValue(b.m_name), {b.m_name});
}

// An ID3 text frame's text: an encoding byte (0 Latin-1, 1 UTF-16 with a byte order
// mark, 2 UTF-16BE, 3 UTF-8), then the text; the values of a frame that holds several
// (a TXXX's description and value) are zero-separated, shown " / "-separated.
Text ID3Text(const std::string& body) {
    if (body.empty()) return Text();
    const std::string_view text = std::string_view(body).substr(1);
    std::string utf8;
    switch (uint8_t(body[0])) {
        case 0:
            for (char c : text) AppendUtf8(utf8, uint8_t(c));
            break;
        case 1:
        case 2:
            utf8 = Utf8FromUtf16(text);
            break;
        case 3:
            utf8 = text;
            break;
        default:
            return Text(Format("encoding %u: ", uint8_t(body[0]))) +
                   Text(BytesWithCount(reinterpret_cast<const uint8_t*>(text.data()), text.size(), kMaxCellBytes));
    }
    while (!utf8.empty() && utf8.back() == 0) utf8.pop_back();
    std::string joined;
    for (char c : utf8) joined += c ? std::string(1, c) : std::string(" / ");
    return Text::FromFile(joined);
}

void ID3Rows(PageBuilder& page, const CID3TagBox& b) {
    const bool v2 = b.m_majorVersion == 2;
    page.Table();
    page.U32x2("Pad", b.m_pad);
    page.Derived("Language", LanguageText(b.m_language), {b.m_language});
    page.Table("ID3v2 Header");
    page.Row("Identifier", Text::FromFile(FourCCText(b.m_identifier).substr(1)), {b.m_identifier});
    page.U32x2("Major version", b.m_majorVersion);
    page.U32x2("Revision", b.m_revision);
    page.U32x2("Flags", b.m_tagFlags);
    page.Row("Size", U32Text(b.m_tagSize) + " syncsafe", {b.m_tagSize});
    page.Derived("Tag size", Format("%u", b.TagSize()), {b.m_tagSize});
    if (b.m_tagFlags & CID3TagBox::kExtendedHeaderFlag && !v2) {
        page.U32("Extended header size", b.m_extendedSize);
        page.Row("Extended header", BytesWithCount(reinterpret_cast<const uint8_t*>(b.m_extendedHeader.data()),
                                                   b.m_extendedHeader.size(), kMaxCellBytes),
                 {b.m_extendedHeader});
    }
    page.List("Frames", {"Frame id", "Size", "Flags", "Content"});
    for (const CID3TagBox::Frame& f : b.m_frames) {
        const std::string id = v2 ? FourCCText(f.id).substr(1) : FourCCText(f.id);
        const bool text = id[0] == 'T';
        page.ListEntry({Text::FromFile(id), Format("%u", b.FrameBodySize(f)), v2 ? Text() : Text(Format("0X%04X", f.flags)),
                        text ? ID3Text(f.body)
                             : Text(BytesWithCount(reinterpret_cast<const uint8_t*>(f.body.data()), f.body.size(),
                                                   kMaxCellBytes))},
                       {f});
    }
    if (!b.m_padding.empty() || !b.m_trailing.empty()) {
        MoreFields(page);
        if (!b.m_padding.empty()) page.Derived("Padding", Format("%zu bytes", b.m_padding.size()), {b.m_padding});
        if (!b.m_trailing.empty())
            page.Row("After the tag", BytesWithCount(reinterpret_cast<const uint8_t*>(b.m_trailing.data()),
                                                     b.m_trailing.size(), kMaxCellBytes),
                     {b.m_trailing});
    }
}

// One row per item with its first extent (empty cells for an item without extents).
void IlocRows(PageBuilder& page, const CItemLocationBox& b) {
    page.Table();
    page.U32("Offset size", b.m_offsetSize);
    page.U32("Length size", b.m_lengthSize);
    page.U32("Base offset size", b.m_baseOffsetSize);
    page.U32("Index size", b.m_indexSize);
    page.U32("Reserved", b.m_reserved);
    page.U32("Item count", b.m_itemCount);
    page.List("Item Info", {"Item id", "Reserved", "Construction method", "Data ref index", "Base offset",
                            "Extent count", "Extent index", "Extent offset", "Extent length"});
    for (const CItemLocationBox::Item& item : b.m_items) {
        std::vector<Text> cells{Format("%u", item.itemID), Format("%u", item.reserved),
                                Format("%u", item.constructionMethod), Format("%u", item.dataReferenceIndex),
                                Format("%" PRIu64, item.baseOffset), Format("%u", item.extentCount)};
        const CItemLocationBox::Extent first = CItemLocationBox::GetExtent(item, 0);
        for (uint64_t v : {first.index, first.offset, first.length})
            cells.push_back(item.extentCount ? Format("%" PRIu64, v) : "");
        if (item.extents.empty()) page.ListEntry(std::move(cells), {item});
        else page.ListEntry(std::move(cells), {item, item.extents[0]});
    }
    // The extents after each item's first, which the list leaves out.
    bool started = false;
    for (const CItemLocationBox::Item& item : b.m_items)
        for (size_t j = 1; j < item.extents.size(); ++j) {
            if (!started) MoreFields(page);
            started = true;
            const CItemLocationBox::Extent& e = item.extents[j];
            if (b.m_indexSize) page.U64(Format("Extent index (item %u, extent %zu)", item.itemID, j + 1), e.index);
            page.U64(Format("Extent offset (item %u, extent %zu)", item.itemID, j + 1), e.offset);
            page.U64(Format("Extent length (item %u, extent %zu)", item.itemID, j + 1), e.length);
        }
}

void XmlRows(PageBuilder& page, const CXMLBox& b) {
    page.Table();
    page.Row("XML", StringValue(b.m_xml), {b.m_xml});
}

void BinaryXmlRows(PageBuilder& page, const CBinaryXMLBox& b) {
    page.Table();
    page.Derived("Data size", U32Text(static_cast<uint32_t>(b.GetDataSize())), {b.m_data});
    // Binary data as byte text: its bytes are no text to put in a page.
    if (b.GetDataSize() <= kMaxRowBytes)
        page.Row("Data", FormatBytesText(b.m_data.data(), b.GetDataSize()), {b.m_data});
    else
        page.Derived("Data", BytesWithCount(b.m_data.data(), b.GetDataSize(), kMaxRowBytes), {b.m_data});
}

void MereRows(PageBuilder& page, const CMetaboxRelationBox& b) {
    page.Table();
    page.Code("First metabox handler type", b.m_firstMetaboxHandlerType);
    page.Code("Second metabox handler type", b.m_secondMetaboxHandlerType);
    page.U32("Metabox relation", b.m_metaboxRelation);
}

void FdelFields(PageBuilder& page, const CFDItemInfoExtension& b, std::string title) {
    page.Table(std::move(title));
    page.Row("Content location", StringValue(b.m_contentLocation), {b.m_contentLocation});
    page.Row("Content MD5", StringValue(b.m_contentMD5), {b.m_contentMD5});
    page.U64("Content length", b.m_contentLength);
    page.U64("Transfer length", b.m_transferLength);
    page.U32("Entry count", b.m_entryCount);
    page.List("Group", {"id"});
    for (const uint32_t& id : b.m_groupIds) page.ListEntry({Format("%u", id)}, {id});
}

void FdelRows(PageBuilder& page, const CFDItemInfoExtension& b) { FdelFields(page, b, "Detailed-Information"); }

void InfeRows(PageBuilder& page, const CItemInfoEntry& b) {
    page.Table();
    page.U32("Item id", b.m_itemID);
    page.U32("Item protection index", b.m_itemProtectionIndex);
    page.Row("Content type", StringValue(b.m_contentType), {b.m_contentType});
    page.Row("Item name", StringValue(b.m_itemName), {b.m_itemName});
    page.Row("Content encoding", StringValue(b.m_contentEncoding), {b.m_contentEncoding});
    page.Code("Extention type", b.m_extensionType);
    page.Code("Item type", b.m_itemType);
    page.Row("Item uri type", StringValue(b.m_itemUriType), {b.m_itemUriType});
    // An extension written as its fields alone is part of this box.
    if (b.m_extension) FdelFields(page, *b.m_extension, "FD Item Info Extension");
}

void TselRows(PageBuilder& page, const CTrackSelectionBox& b) {
    page.Table();
    page.U32("Switch group", b.m_switchGroup);
    page.Derived("Attribute count", U32Text(static_cast<uint32_t>(b.m_attributes.size())), {b.m_attributes});
    page.List("Attributis", {"Attribute"});
    for (const uint32_t& a : b.m_attributes) page.ListEntry({CodeText(a)}, {a});
}

void MsrcRows(PageBuilder& page, const CTrackGroupTypeBox& b) {
    page.Table();
    page.U32("Group id", b.m_trackGroupId);
}

void RtpRows(PageBuilder& page, const CRtpMovieHintInformation& b) {
    page.Table();
    page.Code("Description format", b.m_descriptionFormat);
    page.Row("SDP text", StringValue(b.m_sdpText), {b.m_sdpText});
}

// An rtp  box is the hint information of a movie or track, or inside stsd an RTP hint
// sample entry.
void RtpBoxRows(PageBuilder& page, const CBox& box) {
    if (auto* movie = dynamic_cast<const CRtpMovieHintInformation*>(&box)) RtpRows(page, *movie);
    else SampleEntryRows(page, box);
}

void SdpRows(PageBuilder& page, const CRtpTrackSdpHintInformation& b) {
    page.Table();
    page.Row("SDP text", StringValue(b.m_sdpText), {b.m_sdpText});
}

// A QuickTime language field: a Macintosh language code, or three packed letters.
Text LanguageCodeText(uint32_t code) {
    if (std::string mac = QuickTimeLanguageText(code); !mac.empty()) return mac;
    std::string letters;
    for (int shift : {10, 5, 0}) letters += char((code >> shift & 0x1F) + 0x60);
    return Text::FromFile(letters) + Text(Format(" (0X%04X)", code));
}

void UserDataTextFields(PageBuilder& page, const CUserDataTextBox& b) {
    page.Table();
    page.Derived("Text count", U32Text(uint32_t(b.m_entries.size())), {b.m_entries});
    page.List("Texts", {"Text size", "Language", "Text"});
    for (const CUserDataTextBox::Entry& e : b.m_entries)
        page.ListEntry({Format("%u", e.size), LanguageCodeText(e.language), Text::FromFile(e.text)}, {e});
}

constexpr auto kTag = RowsOf<CTagBox, TagRows>;

constexpr BoxEntry kEntries[] = {
    {FourCC("udta"), "User Data box"},
    {FourCC("meta"), "The Meta Box"},
    {FourCC("cprt"), nullptr, CopyrightTitle, CopyrightRows},
    {FourCC("titl"), "Title metadata tag", nullptr, kTag},
    {FourCC("auth"), "Author metadata tag", nullptr, kTag},
    {FourCC("dscp"), "Description metadata tag", nullptr, kTag},
    {FourCC("perf"), "Performer metadata tag", nullptr, kTag},
    {FourCC("gnre"), "Genre metadata tag", nullptr, kTag},
    {FourCC("albm"), "Album metadata tag", nullptr, kTag},
    {FourCC("ilst"), "ilst box", nullptr, RowsOf<CIlstBox, IlstRows>},
    {FourCC("keys"), "Metadata Keys Box", nullptr, RowsOf<CMetadataKeysBox, KeysRows>},
    {FourCC("chpl"), "Chapter List Box", nullptr, RowsOf<CChapterListBox, ChapterListRows>},
    {FourCC("loci"), "Location Box", nullptr, RowsOf<CLocationBox, LocationRows>},
    {FourCC("name"), "Name Box", nullptr, RowsOf<CNameBox, NameRows>},
    {FourCC("ID32"), "ID3 Tag Box", nullptr, RowsOf<CID3TagBox, ID3Rows>},
    {FourCC("iloc"), "Item Location Box", nullptr, RowsOf<CItemLocationBox, IlocRows>},
    {FourCC("xml "), "XML Box", nullptr, RowsOf<CXMLBox, XmlRows>},
    {FourCC("bxml"), "Binary XML Box", nullptr, RowsOf<CBinaryXMLBox, BinaryXmlRows>},
    {FourCC("mere"), "Metabox Relation Box", nullptr, RowsOf<CMetaboxRelationBox, MereRows>},
    {FourCC("infe"), "Item Info Entry Box", nullptr, RowsOf<CItemInfoEntry, InfeRows>},
    {FourCC("fdel"), "FD Item Info Extension Box", nullptr, RowsOf<CFDItemInfoExtension, FdelRows>},
    {FourCC("tsel"), "Track Selection Box", nullptr, RowsOf<CTrackSelectionBox, TselRows>},
    {FourCC("trgr"), "Track Group box"},
    {FourCC("msrc"), "Track Group Type Box", nullptr, RowsOf<CTrackGroupTypeBox, MsrcRows>},
    {FourCC("hnti"), nullptr, HintInformationTitle},
    // Below an hnti the movie's RTP hint information; below an stsd the RTP hint sample
    // entry, under the same title.
    {FourCC("rtp "), "Rtp Movie Hint Information Box", nullptr, RtpBoxRows},
    {FourCC("sdp "), "Rtp Track Sdp Hint Information", nullptr, RowsOf<CRtpTrackSdpHintInformation, SdpRows>},
    {FourCC("strk"), "Sub Track box"},
    {FourCC("stri"), "Sub Track Information Box"},
    // Titles only: the parse keeps these as plain boxes.
    {FourCC("ipro"), "Item Protection Box"},
    {FourCC("ipmc"), "IPMP Control Box"},
    {FourCC("fiin"), "FD Item Information Box"},
    {FourCC("fpar"), "File Partition Box"},
    {FourCC("fecr"), "FEC Reservoir Box"},
    {FourCC("paen"), "Partition Entry"},
    {FourCC("segr"), "FD Session Group Box"},
    {FourCC("gitn"), "Group ID to Name Box"},
};
}  // namespace

std::span<const BoxEntry> MetadataEntries() { return kEntries; }

void UserDataTextRows(PageBuilder& page, const CBox& box) {
    if (auto* text = dynamic_cast<const CUserDataTextBox*>(&box)) UserDataTextFields(page, *text);
}
