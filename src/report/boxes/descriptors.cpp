// The pages of the boxes that carry MPEG-4 descriptors: esds.
#include "report/box_entry.h"

namespace {
constexpr BoxEntry kEntries[] = {
    {FourCC("esds"), "ES Descriptor Box"},
};
}  // namespace

std::span<const BoxEntry> DescriptorEntries() { return kEntries; }
