#include "cli/page_files.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string BuiltIconPath() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    fs::path folder = ec ? fs::current_path(ec) : exe.parent_path();
    return (folder / "Img" / "icon_right.png").string();
}

std::string AbsolutePagePath(const std::string& out) {
    std::error_code ec;
    fs::path path = fs::absolute(out, ec);
    return ec ? std::string() : path.string();
}

std::string SubPagePrefixBeside(const std::string& pagePath) {
    const fs::path path(pagePath);
    return (path.parent_path() / (path.stem().string() + "_sub")).string() + "/";
}
