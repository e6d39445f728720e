#include "report/page_images.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string PageImageFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    const fs::path folder = ec ? fs::current_path(ec) : exe.parent_path();
    const fs::path installed = folder.parent_path() / "share" / "tessaly" / "Img";
    if (!fs::exists(folder / "Img", ec) && fs::exists(installed, ec)) return installed.string();
    return (folder / "Img").string();
}
