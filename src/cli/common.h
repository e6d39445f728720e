#pragma once
#include <string>

#include "boxes/containers/corvel.h"

// Opens and parses `path`. Returns -2 when the file cannot be opened (stderr
// says why), otherwise the status of the parse run (0 or -1); the tree is kept
// either way, unless a visitor takes each top-level box as it is read.
int OpenAndParse(CCorvelLib& lib, const std::string& path, const CCorvel::TopLevelVisitor& visit = {});

struct CommandLine;
class KeyRing;
// The keys of every --key option into `keys`; false after saying on stderr which is malformed.
bool ReadKeys(const CommandLine& line, KeyRing& keys);

// A command's file and, with --init, the init segment whose moov serves it, both parsed.
struct OpenedFile {
    CCorvelLib lib, initLib;
    const CCorvel* init = nullptr;  // null without --init
    int status = 0;                 // the file's parse run: 0 or -1
};
// Opens and parses `path` (and the --init file); false when either cannot be read (stderr
// says why).
bool OpenWithInit(OpenedFile& file, const std::string& path, const CommandLine& line);

// Decimal digits only, at most `max`: a count or an index from the command line.
bool ParseDecimal(const std::string& text, uint64_t max, uint64_t& out);

// The exit status of a command after its output: 0 when the parse run succeeded;
// otherwise 1, after saying on stderr why (not an ISO base media file, a file that ends
// inside a box, or a box that could not be parsed).
int ExitStatus(const CCorvelLib& lib, const std::string& path, int status);

// Four-character code for display: its characters as FourCCUtf8 shows them, but a
// control byte (below 0x20, or 0x7F) becomes '.'.
std::string PrintableFourCC(uint32_t type);
// The same four characters written at `out` (at most 12 bytes); returns the end.
char* PrintableFourCC(uint32_t type, char* out);
