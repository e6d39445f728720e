// The pages of the streaming extension boxes: HTTP Dynamic Streaming bootstrap and
// random access boxes, the Smooth Streaming tfxd and tfrf, and the XMP box.
#include "boxes/streaming/user_types.h"
#include "report/box_entry.h"

namespace {
// A uuid box is told by where it stands and by its user type.
std::string UuidTitle(const CBox* parent, const CBox& box) {
    if (!parent) return "XMP Metadata box";
    if (parent->m_type == FourCC("traf")) {
        if (HasUserType(box, kTfxdUserType)) return "Tfxd Box";
        if (HasUserType(box, kTfrfUserType)) return "Tfrf Box";
    }
    return "Universal Unique Identifier";
}

constexpr BoxEntry kEntries[] = {
    {FourCC("abst"), "Bootstrap Info Box"},
    {FourCC("afra"), "Fragment Random Access box"},
    {FourCC("afrt"), "Fragment Run Table Box"},
    {FourCC("asrt"), "Segment Run Table Box"},
    {FourCC("uuid"), nullptr, UuidTitle},
};
}  // namespace

std::span<const BoxEntry> StreamingEntries() { return kEntries; }
