// corvel: the command-line face of the engine, for scripts and CI.
#include <cstring>
#include <iostream>
#include <string>

#include "cli/commands.h"

namespace {
const char* kUsage =
    "usage: corvel COMMAND FILE [ARGS]\n"
    "\n"
    "commands:\n"
    "  tree FILE                           one line per box: type, offset, size\n"
    "  page FILE BOXPATH [-o OUT]          the HTML page of one box (default OUT: ./page.html)\n"
    "  subpage FILE BOXPATH K [-o OUT]     sub page K (from 0) of a box's entry or sample list\n"
    "  json FILE                           the whole tree with every box's page as JSON\n"
    "  samples FILE [BOXPATH] [--json]     one line per sample: track, fragment, index, decode time,\n"
    "                                      duration, size, offset, sync (CSV, or JSON with --json)\n"
    "\n"
    "BOXPATH: four-character codes joined by '/', each optionally followed by [n],\n"
    "the 0-based index among siblings of that type, e.g. moov/trak[1]/mdia/minf/stbl/stsz\n"
    "\n"
    "exit status: 0 success, 1 the file did not parse completely, 2 bad arguments or unreadable file\n"
    "Set CORVEL_LOG=1 for the diagnostic log on stderr.\n";
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    std::string command = argv[1];
    Args args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "corvel " << TESSALY_VERSION << "\n";
        return 0;
    }
    if (command == "tree") return RunTree(args);
    if (command == "page") return RunPage(args);
    if (command == "subpage") return RunSubpage(args);
    if (command == "json") return RunJson(args);
    if (command == "samples") return RunSamples(args);
    std::cerr << "corvel: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
