#include <cinttypes>
#include <cstdio>
#include <iostream>

#include "boxes/containers/media_data_box.h"
#include "cli/commands.h"
#include "cli/common.h"

namespace {
void PrintBox(const CBox& box, int depth) {
    std::printf("%*s%s %" PRId64 " %" PRIu64, depth * 2, "", PrintableFourCC(box.m_type).c_str(), box.m_startOffset,
                box.BoxSize());
    if (box.IsTruncated())
        std::printf(" truncated: %" PRIu64 " of %" PRIu64 " bytes present", box.m_presentSize, box.m_declaredSize);
    if (auto* mdat = dynamic_cast<const CMediaDataBox*>(&box); mdat && mdat->EndsInIncompleteTag())
        std::printf(" incomplete FLV tag at %" PRId64, mdat->m_incompleteTagOffset);
    std::putchar('\n');
    for (const auto& child : box.m_children)
        if (child) PrintBox(*child, depth + 1);
}
}  // namespace

int RunTree(const Args& args) {
    if (args.size() != 1) {
        std::cerr << "usage: corvel tree FILE\n";
        return 2;
    }
    CCorvelLib lib;
    int status = OpenAndParse(lib, args[0]);
    if (status == -2) return 2;
    for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i)
        if (const CBox* box = lib.Parser()->GetBox(i)) PrintBox(*box, 0);
    std::fflush(stdout);
    return ExitStatus(lib, args[0], status);
}
