#include <filesystem>
#include <iostream>
#include <system_error>

#include "cli/box_path.h"
#include "cli/commands.h"
#include "cli/common.h"
#include "report/report_page.h"

namespace {
// The folder of this executable; the build copies the page images into its Img folder.
std::filesystem::path ExecutableFolder() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : exe.parent_path();
}
}  // namespace

int RunPage(const Args& args) {
    std::string file, boxPath, out = "page.html";
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size()) out = args[++i];
        else positional.push_back(args[i]);
    }
    if (positional.size() != 2 || out.empty()) {
        std::cerr << "usage: corvel page FILE BOXPATH [-o OUT]\n";
        return 2;
    }
    file = positional[0];
    boxPath = positional[1];

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
    std::error_code ec;
    const std::filesystem::path outPath = std::filesystem::absolute(out, ec);
    const std::string subPrefix = (outPath.parent_path() / (outPath.stem().string() + "_sub")).string() + "/";
    const std::string icon = (ExecutableFolder() / "Img" / "icon_right.png").string();
    ReportPage page(outPath.string(), icon, subPrefix);
    RenderBoxPage(parent, page, *box, lib.Parser());
    if (page.Failed()) {
        std::cerr << "corvel page: cannot write " << out << "\n";
        return 2;
    }
    if (status < 0) {
        std::cerr << "Did not perform as expected.\n";
        return 1;
    }
    return 0;
}
