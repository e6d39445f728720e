// The pages of the sample description box, its sample entries, the boxes inside
// entries and the codec configuration records.
#include "report/box_entry.h"

namespace {
constexpr BoxEntry kEntries[] = {
    {FourCC("stsd"), "Sample Description Box"},
    {FourCC("avc1"), "AVC Sample Entrty"},
    {FourCC("hev1"), "HEVC Sample Entrty"},
    {FourCC("hvc1"), "HEVC Sample Entrty"},
    {FourCC("mp4a"), "MPEG4 Audio Sample Entry"},
    {FourCC("mp4v"), "MPEG4 Visual Sample Entry Box"},
    {FourCC("hint"), "Hint Sample Entry Box"},
    {FourCC("metx"), "XML Meta Data Sample Entry Box"},
    {FourCC("mett"), "Text Meta Data Sample Entry Box"},
    {FourCC("urim"), "URI Meta Sample Entry Box"},
    {FourCC("uri "), "URI Box"},
    {FourCC("uriI"), "Uri Initialization Data Box"},
    {FourCC("avcC"), "AVC Decoder Configuration Record"},
    {FourCC("hvcC"), "HEVC Decoder Configuration Record"},
    {FourCC("btrt"), "Bit Rate Box"},
    {FourCC("clap"), "Clean Aperture Box"},
    {FourCC("pasp"), "Pixel Aspect Ratio Box"},
    {FourCC("m4ds"), "MPEG4 Extension Descriptors Box"},
    {FourCC("ftab"), "Font Table Box"},
    {FourCC("tims"), "Time Scale Entry Box"},
    {FourCC("tsro"), "Time Scale Entry Box"},
    {FourCC("snro"), "Sequence Offset Box"},
    // The boxes of text sample entries and of protected entries: titles only.
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
    {FourCC("frma"), "Original Format Box"},
    {FourCC("schm"), "Scheme Type Box"},
    {FourCC("schi"), "Scheme Information Box"},
    {FourCC("sinf"), "Protection Scheme Information Box"},
    {FourCC("rinf"), "Restricted Scheme Information Box"},
    {FourCC("seii"), "SEI Information Box"},
};
}  // namespace

std::span<const BoxEntry> SampleEntryEntries() { return kEntries; }
