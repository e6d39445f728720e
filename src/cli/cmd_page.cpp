#include <iostream>

#include "cli/commands.h"

int RunPage(const Args&) {
    std::cerr << "corvel page: not available yet\n";
    return 2;
}

int RunJson(const Args&) {
    std::cerr << "corvel json: not available yet\n";
    return 2;
}
