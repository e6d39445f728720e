#include <filesystem>

#include "cli/box_path.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "cli/page_files.h"
#include "report/box_page.h"
#include "report/page_html.h"
#include "samples/sample_context.h"

namespace {
const CommandSpec kSpec{
    "corvel page FILE BOXPATH [-o OUT] [--init INIT]",
    "Writes the HTML page of the box at BOXPATH to standard output, or to the file OUT\n"
    "with an empty sub-page folder OUT_sub/ beside it (for corvel subpage -o). The page's\n"
    "sub-page links point into that folder: page_sub/ on standard output.\n",
    {"-o"}, {}, 2, 2};
}  // namespace

int RunPage(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    const std::string* out = line.Value("-o");
    if (out && out->empty()) return UsageError(kSpec, "-o needs a file name");

    OpenedFile opened;
    if (!OpenWithInit(opened, file, line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    const int status = opened.status;
    std::string error;
    const CBox* parent = nullptr;
    const CBox* box = ResolveBoxPath(*lib.Parser(), line.positional[1], error, &parent);
    if (!box) return FileError(file, error);

    // The sub-page links are relative: the folder lies beside the page.
    std::string path = "-", folder = "page_sub";
    if (out) {
        path = AbsolutePagePath(*out);
        folder = std::filesystem::path(path).stem().string() + "_sub";
        std::error_code ec;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path() / folder, ec);
    }
    ReportPage page(path, BuiltIconPath(), folder + "/");
    const SampleContext samples(*lib.Parser(), init);
    const PageModel model = BuildBoxPage(*box, {parent, lib.Parser(), &samples, nullptr});
    WriteFile(page, path, PageHtml(model, page.IconPath(), page.SubPagePrefix()));
    if (page.Failed()) return FileError(out ? *out : "standard output", "cannot be written");
    return ExitStatus(lib, file, status);
}
