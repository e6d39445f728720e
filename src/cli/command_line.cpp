#include "cli/command_line.h"

#include <iostream>

int UsageError(const CommandSpec& spec, const std::string& message) {
    std::cerr << "corvel: " << message << "\nusage: " << spec.usage << "\n";
    return 2;
}

int FileError(const std::string& file, const std::string& reason, int status) {
    std::cerr << "corvel: " << file << ": " << reason << "\n";
    return status;
}

int ParseCommandLine(const CommandSpec& spec, const Args& args, CommandLine& out) {
    bool optionsEnd = false;  // after "--" every argument is positional
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
        } else if (arg == "--") {
            optionsEnd = true;
        } else if (arg == "--help" || arg == "-h") {
            std::cout << "usage: " << spec.usage << "\n\n" << spec.help;
            return 0;
        } else if (arg == "--version") {
            std::cout << "corvel " << TESSALY_VERSION << "\n";
            return 0;
        } else if (spec.flags.count(arg)) {
            out.flags.insert(arg);
        } else if (spec.valued.count(arg) || arg == "--init") {
            if (i + 1 == args.size()) return UsageError(spec, arg + " needs a value");
            out.values[arg] = args[++i];
            out.repeated[arg].push_back(args[i]);
        } else {
            return UsageError(spec, "unknown option '" + arg + "'");
        }
    }
    if (out.positional.size() < spec.minPositional || out.positional.size() > spec.maxPositional)
        return UsageError(spec, out.positional.size() < spec.minPositional ? "too few arguments" : "too many arguments");
    return -1;
}
