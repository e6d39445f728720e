#include <iostream>

#include "boxes/containers/media_data_box.h"
#include "cli/box_path.h"
#include "cli/commands.h"
#include "cli/common.h"
#include "cli/page_files.h"
#include "report/sub_pages.h"
#include "samples/sample_context.h"

namespace {
// K: a page number from 0, decimal digits only.
bool ParsePageNumber(const std::string& text, uint32_t& k) {
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const unsigned long long v = std::stoull(text);
    if (v > UINT32_MAX) return false;
    k = static_cast<uint32_t>(v);
    return true;
}
}  // namespace

int RunSubpage(const Args& args) {
    std::string out = "subpage.html";
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            out = args[++i];
        else
            positional.push_back(args[i]);
    }
    uint32_t k = 0;
    if (positional.size() != 3 || out.empty() || !ParsePageNumber(positional[2], k)) {
        std::cerr << "usage: corvel subpage FILE BOXPATH K [-o OUT]   (K: the page number, from 0)\n";
        return 2;
    }

    CCorvelLib lib;
    const int status = OpenAndParse(lib, positional[0]);
    if (status == -2) return 2;
    std::string error;
    const CBox* parent = nullptr;
    const CBox* box = ResolveBoxPath(*lib.Parser(), positional[1], error, &parent);
    if (!box) {
        std::cerr << "corvel subpage: " << error << "\n";
        return 2;
    }

    const std::string path = AbsolutePagePath(out);
    ReportPage page("", BuiltIconPath(), "");
    const SampleContext samples(*lib.Parser());
    if (box->m_type == FourCC("stbl")) {
        WriteTrackSamplesSubPage(page, *box, path, k, &samples);
    } else if (box->m_type == FourCC("traf")) {
        // The traf's moof is its parent; the mdat is the one the mdat page pairs with it.
        const CBox* mdat = parent ? lib.Parser()->MediaDataOf(*parent) : nullptr;
        WriteFragmentSamplesSubPage(page, *box, path, k, parent, mdat, &samples);
    } else if (auto* mdat = dynamic_cast<const CMediaDataBox*>(box); mdat && mdat->GetTagCount() > 0) {
        WriteFlvTagSubPage(page, *mdat, path, k);
    } else if (HasEntriesSubPages(*box)) {
        WriteEntriesSubPage(page, *box, path, k);
    } else {
        std::cerr << "corvel subpage: " << positional[1]
                  << " has no sub pages (a table box, stbl, traf or an mdat of FLV tags has)\n";
        return 2;
    }
    if (page.Failed()) {
        std::cerr << "corvel subpage: cannot write " << out << "\n";
        return 2;
    }
    return ExitStatus(lib, positional[0], status);
}
