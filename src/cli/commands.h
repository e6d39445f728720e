#pragma once
#include <string>
#include <vector>

// One function per corvel command; each returns the process exit status
// (0 success, 1 parse failed, 2 bad arguments or unreadable file).
using Args = std::vector<std::string>;

int RunTree(const Args& args);
int RunPage(const Args& args);
int RunJson(const Args& args);
int RunSubpage(const Args& args);
int RunSamples(const Args& args);
int RunSample(const Args& args);
int RunCheck(const Args& args);
int RunInfo(const Args& args);
int RunItems(const Args& args);
int RunItem(const Args& args);
