#include <iostream>

#include "cli/commands.h"
#include "cli/common.h"
#include "report/page_json.h"

int RunJson(const Args& args) {
    if (args.size() != 1) {
        std::cerr << "usage: corvel json FILE\n";
        return 2;
    }
    CCorvelLib lib;
    const int status = OpenAndParse(lib, args[0]);
    if (status == -2) return 2;
    WriteTreeJson(std::cout, args[0], status, *lib.Parser());
    std::cout.flush();
    return ExitStatus(lib, args[0], status);
}
