#include <algorithm>

#include "boxes/containers/media_data_box.h"
#include "cli/box_path.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "cli/page_files.h"
#include "report/box_page.h"
#include "report/sub_pages.h"
#include "samples/sample_context.h"

namespace {
const CommandSpec kSpec{
    "corvel subpage FILE BOXPATH K [-o OUT] [--init INIT]",
    "Writes sub page K (from 0) of the box at BOXPATH to standard output, or to the file\n"
    "OUT: 200 entries of a table box, 200 samples of a stbl or a traf, FLV tag K of an\n"
    "mdat that holds FLV tags, or 200 rows of a table of the box's page that has more\n"
    "(the pages of its first such table, then those of the next).\n",
    {"-o"}, {}, 3, 3};
}  // namespace

int RunSubpage(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    const std::string& boxPath = line.positional[1];
    uint64_t number = 0;
    if (!ParseDecimal(line.positional[2], UINT32_MAX, number))
        return UsageError(kSpec, "bad page number '" + line.positional[2] + "': decimal digits from 0");
    const uint32_t k = uint32_t(number);
    const std::string* out = line.Value("-o");
    if (out && out->empty()) return UsageError(kSpec, "-o needs a file name");

    OpenedFile opened;
    if (!OpenWithInit(opened, file, line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    const int status = opened.status;
    std::string error;
    const CBox* parent = nullptr;
    const CBox* box = ResolveBoxPath(*lib.Parser(), boxPath, error, &parent);
    if (!box) return FileError(file, error);
    const SampleContext samples(*lib.Parser(), init);
    const PageContext context{parent, lib.Parser(), &samples, nullptr};
    const PageModel model = BuildBoxPage(*box, context);
    const bool lists = box->m_type == FourCC("stbl") || box->m_type == FourCC("traf") || HasEntriesSubPages(*box);
    // An empty list still has its page 0.
    const uint64_t listPages = std::max<uint64_t>(SubPageCount(*box, &samples), lists ? 1 : 0);
    const uint64_t pages = listPages + TablePageCount(model);
    if (pages == 0)
        return FileError(file, boxPath + " has no sub pages (a table box, stbl, traf, an mdat of FLV tags or a box "
                                         "with a table of more than 200 rows has)");
    if (k >= pages)
        return FileError(file,
                         boxPath + " has no sub page " + std::to_string(k) + " (it has " + std::to_string(pages) + ")");

    const std::string path = out ? AbsolutePagePath(*out) : "-";
    ReportPage page("", BuiltIconPath(), "");
    if (k >= listPages) {
        const TablePage at = *TablePageAt(model, k - listPages);
        PageContext window = context;
        window.window = {RowWindow::SubPage, at.table, at.page};
        WriteTableRowsSubPage(page, BuildBoxPage(*box, window), at.table, path);
    } else if (box->m_type == FourCC("stbl")) {
        WriteTrackSamplesSubPage(page, *box, path, k, &samples);
    } else if (box->m_type == FourCC("traf")) {
        // The traf's moof is its parent; the mdat is the one the mdat page pairs with it.
        const CBox* mdat = parent ? lib.Parser()->MediaDataOf(*parent) : nullptr;
        WriteFragmentSamplesSubPage(page, *box, path, k, parent, mdat, &samples);
    } else if (auto* mdat = dynamic_cast<const CMediaDataBox*>(box); mdat && mdat->GetTagCount() > 0) {
        WriteFlvTagSubPage(page, *mdat, path, k);
    } else {
        WriteEntriesSubPage(page, *box, path, k);
    }
    if (page.Failed()) return FileError(out ? *out : "standard output", "cannot be written");
    return ExitStatus(lib, file, status);
}
