#include <cstring>
#include <iostream>
#include <string>

#include "check/checker.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel check FILE [--json] [--strict]",
    "Runs every rule over FILE and prints one finding per line:\n"
    "  FILE: SEVERITY: BOXPATH: MESSAGE [RULE]\n"
    "SEVERITY is error (the file is wrong), warning (legal, but likely to break players) or\n"
    "info. Exit status: 0 when no error was found, 1 when one was, 2 when the file cannot be\n"
    "read.\n"
    "\n"
    "  --json     {\"file\", \"findings\": [{\"severity\", \"rule\", \"box\", \"at\": [offset, length],\n"
    "             \"message\"}]}; \"at\" is where the field at fault (or the box) lies\n"
    "  --strict   a warning sets the exit status 1 too\n",
    {}, {"--json", "--strict"}, 1, 1};

void PrintJson(const std::string& file, const std::vector<Finding>& findings) {
    std::string out = "{\"file\": " + JsonString(file) + ", \"findings\": [";
    for (size_t i = 0; i < findings.size(); ++i) {
        const Finding& f = findings[i];
        out += i ? ",\n  " : "\n  ";
        out += "{\"severity\": \"" + std::string(SeverityText(f.severity)) + "\", \"rule\": \"" + f.rule +
               "\", \"box\": " + JsonString(f.box) + ", \"at\": [" + std::to_string(f.offset) + ", " +
               std::to_string(f.length) + "], \"message\": " + JsonString(f.message) + "}";
    }
    out += findings.empty() ? "]}\n" : "\n]}\n";
    std::cout << out;
}
}  // namespace

int RunCheck(const Args& args) {
    CommandLine line;
    if (const int done = ParseCommandLine(kSpec, args, line); done >= 0) return done;
    const std::string& file = line.positional[0];
    CCorvelLib lib;
    if (OpenAndParse(lib, file) == -2) return 2;
    if (const CBox* h = lib.Parser()->NotMediaHeader())
        return FileError(file, "not an ISO base media file (first box type " + PrintableFourCC(h->m_type) + ")");
    const std::vector<Finding> findings = CheckFile(*lib.Parser());
    if (line.Has("--json")) {
        PrintJson(file, findings);
    } else {
        std::string out;
        for (const Finding& f : findings)
            out += file + ": " + SeverityText(f.severity) + ": " + f.box + ": " + f.message + " [" + f.rule + "]\n";
        std::cout << out;
    }
    std::cout.flush();
    for (const Finding& f : findings)
        if (f.severity == Severity::Error || (f.severity == Severity::Warning && line.Has("--strict"))) return 1;
    return 0;
}
