#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli/commands.h"

// What a command accepts: its usage line, the text --help adds, the options that take
// a value ("-o", "--depth") and those that do not ("--json"), and how many positional
// arguments it takes.
struct CommandSpec {
    const char* usage;  // "corvel tree FILE [--depth N] [--json]"
    const char* help;   // what the command does and what its options mean
    std::set<std::string> valued;
    std::set<std::string> flags;
    size_t minPositional;
    size_t maxPositional;
};

struct CommandLine {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  // the last value of each option
    std::map<std::string, std::vector<std::string>> repeated;  // every value of each option, in order
    std::set<std::string> flags;
    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
    const std::string* Value(const std::string& option) const {
        auto it = values.find(option);
        return it == values.end() ? nullptr : &it->second;
    }
};

// Reads `args` by `spec`; --help/-h and --version are answered for every command, and
// every command takes --init INIT (a media segment's init segment).
// Returns -1 when the command should run, else the exit status: 0 after help or the
// version, 2 after a usage error (said on stderr with the usage line).
int ParseCommandLine(const CommandSpec& spec, const Args& args, CommandLine& out);

// A usage error of a command: "corvel: MESSAGE", then the usage line; returns 2.
int UsageError(const CommandSpec& spec, const std::string& message);

// "corvel: FILE: reason" on stderr; returns `status`.
int FileError(const std::string& file, const std::string& reason, int status = 2);
