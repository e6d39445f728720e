#pragma once
#include <string>

// Runs the built corvel with `args` (shell words); captures stdout, stderr and the exit status.
struct CliRun {
    int status;
    std::string out;
    std::string err;
};
CliRun RunCorvel(const std::string& args);
