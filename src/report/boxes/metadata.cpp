// The pages of the user data and metadata boxes, item information, track selection,
// track groups and hint information.
#include "boxes/box.h"
#include "report/box_entry.h"

namespace {
std::string CopyrightTitle(const CBox* parent, const CBox&) {
    return parent && parent->m_type == FourCC("moov") ? "Tag Box" : "Copyright Box";
}

// No table at all without a parent box.
std::string HintInformationTitle(const CBox* parent, const CBox&) {
    if (!parent) return "";
    if (parent->m_type == FourCC("moov")) return "Movie SDP information";
    if (parent->m_type == FourCC("trak")) return "Track SDP information";
    return "SDP Information";
}

constexpr BoxEntry kEntries[] = {
    {FourCC("udta"), "User Data box"},
    {FourCC("cprt"), nullptr, CopyrightTitle},
    {FourCC("titl"), "Title metadata tag"},
    {FourCC("auth"), "Author metadata tag"},
    {FourCC("dscp"), "Description metadata tag"},
    {FourCC("ilst"), "ilst box"},
    {FourCC("iloc"), "Item Location Box"},
    {FourCC("xml "), "XML Box"},
    {FourCC("bxml"), "Binary XML Box"},
    {FourCC("mere"), "Metabox Relation Box"},
    {FourCC("iinf"), "Item Information Box"},
    {FourCC("infe"), "Item Info Entry Box"},
    {FourCC("fdel"), "FD Item Info Extension Box"},
    {FourCC("tsel"), "Track Selection Box"},
    {FourCC("trgr"), "Track Group box"},
    {FourCC("msrc"), "Track Group Type Box"},
    {FourCC("hnti"), nullptr, HintInformationTitle},
    {FourCC("sdp "), "Rtp Track Sdp Hint Information"},
    {FourCC("strk"), "Sub Track box"},
    {FourCC("stri"), "Sub Track Information Box"},
    // Titles only: the parse keeps these as plain boxes.
    {FourCC("idat"), "Item Data Box"},
    {FourCC("iref"), "Item Reference Box"},
    {FourCC("ipro"), "Item Protection Box"},
    {FourCC("pitm"), "Primary Item Box"},
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
