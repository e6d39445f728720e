#include <iostream>

#include "cli/commands.h"

int RunSubpage(const Args&) {
    std::cerr << "corvel subpage: not available yet\n";
    return 2;
}
