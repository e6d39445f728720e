#include <cstring>
#include <iostream>
#include <string>

#include "check/check_context.h"
#include "check/checker.h"
#include "cli/command_line.h"
#include "cli/common.h"
#include "report/box_entry.h"
#include "report/box_page.h"
#include "report/page_json.h"

namespace {
const CommandSpec kSpec{
    "corvel check FILE [--json] [--strict] [--init INIT]",
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

// Bytes of a box that no field, entry table or child explains: what its page lists as
// undecoded. The pages belong to the report layer, so this rule lives here.
void UndecodedBytes(CheckContext& check) {
    std::vector<std::pair<const CBox*, const CBox*>> pending;  // box, parent
    for (auto it = check.Tops().rbegin(); it != check.Tops().rend(); ++it) pending.emplace_back(*it, nullptr);
    while (!pending.empty()) {
        auto [box, parent] = pending.back();
        pending.pop_back();
        PageContext context;
        context.parent = parent;
        context.parser = &check.Parser();
        context.samples = &check.Samples();
        context.spans = check.SpansOf(*box);
        for (const ByteRange& range : BuildBoxPage(*box, context).undecoded)
            check.Add(Severity::Info, "undecoded-bytes", *box, Span::Bytes(range.offset, range.length),
                      std::to_string(range.length) + " bytes at " + std::to_string(range.offset) +
                          " that no field, entry table or child box explains");
        for (auto it = box->m_children.rbegin(); it != box->m_children.rend(); ++it)
            if (*it) pending.emplace_back(it->get(), box);
    }
}

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
    OpenedFile opened;
    if (!OpenWithInit(opened, file, line)) return 2;
    CCorvelLib& lib = opened.lib;
    const CCorvel* init = opened.init;
    if (const CBox* h = lib.Parser()->NotMediaHeader())
        return FileError(file, "not an ISO base media file (first box type " + PrintableFourCC(h->m_type) + ")");
    const std::vector<Finding> findings = CheckFile(*lib.Parser(), kCheckSampleBudget, UndecodedBytes, init);
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
