// corvel: the command-line face of the engine, for scripts and CI.
#include <iostream>
#include <string>

#include "cli/commands.h"

namespace {
const char* kUsage =
    "usage: corvel COMMAND FILE [ARGS]\n"
    "\n"
    "commands:\n"
    "  info FILE [--json]                  brands, duration, fragmentation, and one line per track: ID,\n"
    "                                      handler, codec string, parameters, duration, samples, bit rate\n"
    "  tree FILE [--depth N] [--json]      one line per box: type, offset, size (or the tree as JSON)\n"
    "  page FILE BOXPATH [-o OUT]          the HTML page of one box (standard output without -o)\n"
    "  subpage FILE BOXPATH K [-o OUT]     sub page K (from 0) of a box's entries, samples, FLV tags or long tables\n"
    "  json FILE                           the whole tree with every box's page as JSON\n"
    "  samples FILE [BOXPATH] [--json]     one line per sample: track, fragment, index, decode time,\n"
    "                                      duration, size, offset, sync (CSV, or JSON with --json)\n"
    "                                      (protected: IV, subsamples; with --key KID:KEY, whether it decrypts)\n"
    "  sample FILE TRACK K [--key KID:KEY] the bytes of sample K of a track, decrypted with a key\n"
    "  items FILE [--json]                 one line per item of a HEIF/AVIF file: ID, type, name, content\n"
    "                                      type, primary, properties, extents, size\n"
    "  item FILE ID                        the bytes of an item\n"
    "  check FILE [--json] [--strict]      what is wrong with the file: one finding per line, each\n"
    "                                      with its box path and rule (exit 1 on an error)\n"
    "\n"
    "BOXPATH: four-character codes joined by '/', each optionally followed by [n],\n"
    "the 0-based index among siblings of that type, e.g. moov/trak[1]/mdia/minf/stbl/stsz\n"
    "\n"
    "--init INIT (every command) reads FILE, a media segment, with its init segment.\n"
    "corvel COMMAND --help tells more of a command; --version prints the version.\n"
    "Errors go to standard error as \"corvel: FILE: reason\". Exit status: 0 success, 1 the file\n"
    "did not parse completely (the output covers what did), 2 bad arguments or a file that\n"
    "cannot be read. CORVEL_LOG=1 turns on the diagnostic log (standard error).\n";
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = argv[1];
    const Args args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "--version") {
        std::cout << "corvel " << TESSALY_VERSION << "\n";
        return 0;
    }
    if (command == "info") return RunInfo(args);
    if (command == "tree") return RunTree(args);
    if (command == "page") return RunPage(args);
    if (command == "subpage") return RunSubpage(args);
    if (command == "json") return RunJson(args);
    if (command == "samples") return RunSamples(args);
    if (command == "sample") return RunSample(args);
    if (command == "items") return RunItems(args);
    if (command == "item") return RunItem(args);
    if (command == "check") return RunCheck(args);
    std::cerr << "corvel: unknown command '" << command << "'\n" << kUsage;
    return 2;
}
