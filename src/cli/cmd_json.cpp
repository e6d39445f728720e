#include <cstring>
#include <iostream>

#include "cli/command_line.h"
#include "cli/common.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel json FILE [--init INIT]",
    "Prints the whole tree of FILE with every box's page as JSON: {\"file\", \"status\",\n"
    "\"boxes\": [{\"type\", \"offset\", \"size\", \"title\", \"tables\", \"children\"}]}. Each row\n"
    "carries \"at\": [offset, length], where its field lies in the file.\n",
    {}, {}, 1, 1};
}  // namespace

int RunJson(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    CCorvelLib initLib, lib;
    const std::string* initPath = line.Value("--init");
    if (initPath && OpenAndParse(initLib, *initPath) == -2) return 2;
    const int status = WriteStreamedTreeJson(std::cout, file, lib, initPath ? initLib.Parser() : nullptr);
    std::cout.flush();
    if (status == -2) return FileError(file, std::strerror(lib.LastError()));
    return ExitStatus(lib, file, status);
}
