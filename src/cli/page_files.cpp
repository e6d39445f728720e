#include "cli/page_files.h"

#include <filesystem>
#include <system_error>

#include "report/page_images.h"

namespace fs = std::filesystem;

std::string BuiltIconPath() { return PageImageFolder() + "/icon_right.png"; }

std::string AbsolutePagePath(const std::string& out) {
    std::error_code ec;
    fs::path path = fs::absolute(out, ec);
    return ec ? std::string() : path.string();
}
