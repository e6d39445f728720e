#include "cli/common.h"

#include <cstring>
#include <iostream>

int OpenAndParse(CCorvelLib& lib, const std::string& path) {
    lib.Uninit();
    if (lib.Init(path) < 0) {
        std::cerr << "corvel: cannot open " << path << ": " << std::strerror(lib.LastError()) << "\n";
        return -2;
    }
    return lib.Go();
}

std::string PrintableFourCC(uint32_t type) {
    std::string s = FourCCText(type);
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '.';
    return s;
}
