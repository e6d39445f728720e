#include <iostream>

#include "cli/box_path.h"
#include "cli/commands.h"
#include "cli/common.h"
#include "cli/page_files.h"
#include "report/box_page.h"
#include "report/page_html.h"
#include "samples/sample_context.h"

int RunPage(const Args& args) {
    std::string out = "page.html";
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else positional.push_back(args[i]);
    }
    if (positional.size() != 2 || out.empty()) {
        std::cerr << "usage: corvel page FILE BOXPATH [-o OUT]\n";
        return 2;
    }
    const std::string& file = positional[0];
    const std::string& boxPath = positional[1];

    CCorvelLib lib;
    const int status = OpenAndParse(lib, file);
    if (status == -2) return 2;
    std::string error;
    const CBox* parent = nullptr;
    const CBox* box = ResolveBoxPath(*lib.Parser(), boxPath, error, &parent);
    if (!box) {
        std::cerr << "corvel page: " << error << "\n";
        return 2;
    }

    // The sub pages go into a folder beside OUT named after it: page.html -> page_sub/.
    const std::string pagePath = AbsolutePagePath(out);
    if (pagePath.empty()) {
        std::cerr << "corvel page: cannot write " << out << "\n";
        return 2;
    }
    ReportPage page(pagePath, BuiltIconPath(), SubPagePrefixBeside(pagePath));
    const SampleContext samples(*lib.Parser());
    RenderPage(page, BuildBoxPage(*box, {parent, lib.Parser(), &samples, nullptr}));
    if (page.Failed()) {
        std::cerr << "corvel page: cannot write " << out << "\n";
        return 2;
    }
    return ExitStatus(lib, file, status);
}
