#include "report/box_titles.h"

#include <algorithm>
#include <cstring>

#include "boxes/box.h"

namespace {
struct TitleCase {
    uint32_t type;
    const char* title;
};

// Types whose title does not depend on the parent. Types without a line here
// (and not handled in BoxPageTitle) have no case of their own.
constexpr TitleCase kTitles[] = {
    {FourCC("abst"), "Bootstrap Info Box"},
    {FourCC("afra"), "Fragment Random Access box"},
    {FourCC("afrt"), "Fragment Run Table Box"},
    {FourCC("asrt"), "Segment Run Table Box"},
    {FourCC("auth"), "Author metadata tag"},
    {FourCC("avc1"), "AVC Sample Entrty"},
    {FourCC("avcC"), "AVC Decoder Configuration Record"},
    {FourCC("blnk"), "Blinking Box"},
    {FourCC("btrt"), "Bit Rate Box"},
    {FourCC("bxml"), "Binary XML Box"},
    {FourCC("cdsc"), "Cdsc Sample Entry Box"},
    {FourCC("clap"), "Clean Aperture Box"},
    {FourCC("co64"), "Chunk Offset Box"},
    {FourCC("stco"), "Chunk Offset Box"},
    {FourCC("crhd"), "NULL Media Header Box"},
    {FourCC("iphd"), "NULL Media Header Box"},
    {FourCC("m7hd"), "NULL Media Header Box"},
    {FourCC("mjhd"), "NULL Media Header Box"},
    {FourCC("ochd"), "NULL Media Header Box"},
    {FourCC("odhd"), "NULL Media Header Box"},
    {FourCC("sdhd"), "NULL Media Header Box"},
    {FourCC("cslg"), "Composition to Decode Box"},
    {FourCC("ctts"), "Composition Time to Sample Box"},
    {FourCC("dinf"), "Data Information Box"},
    {FourCC("dlay"), "Scroll Delay Box"},
    {FourCC("dpnd"), "dpnd Sample Entry Box"},
    {FourCC("dref"), "Data Reference Box"},
    {FourCC("drpo"), "Drop Shadow Offset Box"},
    {FourCC("drpt"), "Drop Shadow Alpha"},
    {FourCC("dscp"), "Description metadata tag"},
    {FourCC("edts"), "Edit Box"},
    {FourCC("elst"), "Edit List Box"},
    {FourCC("esds"), "ES Descriptor Box"},
    {FourCC("fdel"), "FD Item Info Extension Box"},
    {FourCC("fecr"), "FEC Reservoir Box"},
    {FourCC("fiin"), "FD Item Information Box"},
    {FourCC("fpar"), "File Partition Box"},
    {FourCC("free"), "Free Space Box"},
    {FourCC("skip"), "Free Space Box"},
    {FourCC("frma"), "Original Format Box"},
    {FourCC("ftab"), "Font Table Box"},
    {FourCC("ftyp"), "File Type Box"},
    {FourCC("styp"), "Segment Type Box"},
    {FourCC("gitn"), "Group ID to Name Box"},
    {FourCC("hclr"), "Highlight Color Box"},
    {FourCC("hdlr"), "Handler Reference Box"},
    {FourCC("hev1"), "HEVC Sample Entrty"},
    {FourCC("hvc1"), "HEVC Sample Entrty"},
    {FourCC("hind"), "Hind Sample Entry Box"},
    {FourCC("hint"), "Hint Sample Entry Box"},
    {FourCC("hlit"), "Highlight Box"},
    {FourCC("hmhd"), "Hint Media Header Box"},
    {FourCC("href"), "Hypertext Box"},
    {FourCC("hvcC"), "HEVC Decoder Configuration Record"},
    {FourCC("idat"), "Item Data Box"},
    {FourCC("iinf"), "Item Information Box"},
    {FourCC("iloc"), "Item Location Box"},
    {FourCC("ilst"), "ilst box"},
    {FourCC("infe"), "Item Info Entry Box"},
    {FourCC("iods"), "Object Descriptor Box"},
    {FourCC("ipmc"), "IPMP Control Box"},
    {FourCC("ipro"), "Item Protection Box"},
    {FourCC("iref"), "Item Reference Box"},
    {FourCC("krok"), "Karaoke Box"},
    {FourCC("leva"), "Level Assignment Box"},
    {FourCC("m4ds"), "MPEG4 Extension Descriptors Box"},
    {FourCC("mdat"), "Media Data Box"},
    {FourCC("mdhd"), "Media Header Box"},
    {FourCC("mdia"), "Media Box"},
    {FourCC("meco"), "Metadata Container Box"},
    {FourCC("mehd"), "Movie Extends Header Box"},
    {FourCC("mere"), "Metabox Relation Box"},
    {FourCC("mett"), "Text Meta Data Sample Entry Box"},
    {FourCC("metx"), "XML Meta Data Sample Entry Box"},
    {FourCC("mfhd"), "Movie Fragment Header Box"},
    {FourCC("mfra"), "Movie Fragment Random Access Box"},
    {FourCC("mfro"), "Movie Fragment Random Access Offset Box"},
    {FourCC("minf"), "Media Information Box"},
    {FourCC("moof"), "Movie Fragment Box"},
    {FourCC("moov"), "Movie Box"},
    {FourCC("mp4a"), "MPEG4 Audio Sample Entry"},
    {FourCC("mp4v"), "MPEG4 Visual Sample Entry Box"},
    {FourCC("mpod"), "mpod Sample Entry Box"},
    {FourCC("msrc"), "Track Group Type Box"},
    {FourCC("mvex"), "Movie Extends Box"},
    {FourCC("mvhd"), "Movie Header Box"},
    {FourCC("nmhd"), "MPEG4 Media Header Box"},
    {FourCC("padb"), "Padding Bits Box"},
    {FourCC("paen"), "Partition Entry"},
    {FourCC("pasp"), "Pixel Aspect Ratio Box"},
    {FourCC("pdin"), "Progressive Download Information Box"},
    {FourCC("pitm"), "Primary Item Box"},
    {FourCC("prft"), "Producer Reference Time Box"},
    {FourCC("rinf"), "Restricted Scheme Information Box"},
    {FourCC("rtp "), "Rtp Movie Hint Information Box"},
    {FourCC("saio"), "Sample Auxiliary Information Offsets Box"},
    {FourCC("saiz"), "Sample Auxiliary Information Sizes Box"},
    {FourCC("sbgp"), "Sample to Group Box"},
    {FourCC("schi"), "Scheme Information Box"},
    {FourCC("schm"), "Scheme Type Box"},
    {FourCC("sdep"), "Sample Dependency Box"},
    {FourCC("sdp "), "Rtp Track Sdp Hint Information"},
    {FourCC("sdtp"), "Independent and Disposable Samples Box"},
    {FourCC("segr"), "FD Session Group Box"},
    {FourCC("seii"), "SEI Information Box"},
    {FourCC("sgpd"), "Sample Group Description Box"},
    {FourCC("sidx"), "Segment Index Box"},
    {FourCC("sinf"), "Protection Scheme Information Box"},
    {FourCC("smhd"), "Sound Media Header Box"},
    {FourCC("snro"), "Sequence Offset Box"},
    {FourCC("ssix"), "Subsegment Index Box"},
    {FourCC("stbl"), "Sample Table Box"},
    {FourCC("stdp"), "Degradation Priority Box"},
    {FourCC("stri"), "Sub Track Information Box"},
    {FourCC("strk"), "Sub Track box"},
    {FourCC("stsc"), "Sample To Chunk Box"},
    {FourCC("stsd"), "Sample Description Box"},
    {FourCC("stsh"), "Shadow Sync Sample Box"},
    {FourCC("stss"), "Sync Sample Box"},
    {FourCC("stsz"), "Sample Size Boxes"},
    {FourCC("stts"), "Decoding Time to Sample Box"},
    {FourCC("styl"), "Style Box"},
    {FourCC("stz2"), "Compact Sample Size Box"},
    {FourCC("subs"), "Sub-Sample Information Box"},
    {FourCC("tbox"), "Text Box Box"},
    {FourCC("tfdt"), "Track Fragment Base Media Decode Time Box"},
    {FourCC("tfhd"), "Track Fragment Header Box"},
    {FourCC("tfra"), "Track Fragment Random Access Box"},
    {FourCC("tims"), "Time Scale Entry Box"},
    {FourCC("titl"), "Title metadata tag"},
    {FourCC("tkhd"), "Track Header Box"},
    {FourCC("traf"), "Track Fragment Box"},
    {FourCC("trak"), "Track Box"},
    {FourCC("tref"), "Track Reference Box"},
    {FourCC("trex"), "Track Extends Box"},
    {FourCC("trgr"), "Track Group box"},
    {FourCC("trun"), "Track Fragment Run Box"},
    {FourCC("tsel"), "Track Selection Box"},
    {FourCC("tsro"), "Time Scale Entry Box"},
    {FourCC("twrp"), "Text Wrap Box"},
    {FourCC("udta"), "User Data box"},
    {FourCC("uri "), "URI Box"},
    {FourCC("uriI"), "Uri Initialization Data Box"},
    {FourCC("urim"), "URI Meta Sample Entry Box"},
    {FourCC("url "), "Data Entry Url Box"},
    {FourCC("urn "), "Data Entry Urn Box"},
    {FourCC("vmhd"), "Video Media Header Box"},
    {FourCC("xml "), "XML Box"},
};

const char* FixedTitle(uint32_t type) {
    for (const TitleCase& c : kTitles)
        if (c.type == type) return c.title;
    return nullptr;
}

// The Smooth Streaming user types inside a track fragment.
constexpr uint8_t kTfxdUserType[16] = {0x6D, 0x1D, 0x9B, 0x05, 0x42, 0xD5, 0x44, 0xE6,
                                       0x80, 0xE2, 0x14, 0x1D, 0xAF, 0xF7, 0x57, 0xB2};
constexpr uint8_t kTfrfUserType[16] = {0xD4, 0x80, 0x7E, 0xF2, 0xCA, 0x39, 0x46, 0x95,
                                       0x8E, 0x54, 0x26, 0xCB, 0x9E, 0x46, 0xA7, 0x9F};

std::string UuidTitle(const CBox* parent, const CBox& box) {
    if (!parent) return "XMP Metadata box";
    if (parent->m_type == FourCC("traf")) {
        if (std::memcmp(box.m_userType, kTfxdUserType, 16) == 0) return "Tfxd Box";
        if (std::memcmp(box.m_userType, kTfrfUserType, 16) == 0) return "Tfrf Box";
    }
    return "Universal Unique Identifier";
}
}  // namespace

const char* SampleEntryTitle(uint32_t handlerType) {
    switch (handlerType) {
        case FourCC("soun"): return "Audio Sample Entry Box";
        case FourCC("vide"): return "Visual Sample Entry Box";
        case FourCC("text"):
        case FourCC("sbtl"): return "Text Sample Entry Box";
        case FourCC("meta"): return "The Meta Box";
        case FourCC("odsm"):
        case FourCC("crsm"):
        case FourCC("sdsm"):
        case FourCC("m7sm"):
        case FourCC("ocsm"):
        case FourCC("ipsm"):
        case FourCC("mjsm"): return "MPEG Sample Entry Box";
        default: return "Box";
    }
}

// The sample description box class does not hold its handler type yet; until it
// does, entries without a case of their own are titled "Box".
uint32_t SampleDescriptionHandlerType(const CBox&) { return 0; }

std::string BoxPageTitle(const CBox* parent, const CBox& box) {
    const uint32_t parentType = parent ? parent->m_type : 0;
    switch (box.m_type) {
        case FourCC("cprt"): return parentType == FourCC("moov") ? "Tag Box" : "Copyright Box";
        case FourCC("hnti"):
            if (!parent) return "";
            if (parentType == FourCC("moov")) return "Movie SDP information";
            if (parentType == FourCC("trak")) return "Track SDP information";
            return "SDP Information";
        case FourCC("uuid"): return UuidTitle(parent, box);
    }
    if (const char* title = FixedTitle(box.m_type)) return title;
    if (!parent) return "";
    if (parentType == FourCC("stsd")) return SampleEntryTitle(SampleDescriptionHandlerType(*parent));
    return "Box";
}
