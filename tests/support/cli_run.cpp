#include "support/cli_run.h"

#include <sys/wait.h>

#include <cstdio>

#include "support/box_builder.h"
#include "support/corpus.h"

CliRun RunCorvel(const std::string& args) {
    std::string errPath = TempDir() + "/corvel_stderr.txt";
    std::string command = std::string(CORVEL_EXE) + " " + args + " 2>" + errPath;
    CliRun run{-1, {}, {}};
    FILE* p = popen(command.c_str(), "r");
    if (!p) return run;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) run.out.append(buf, n);
    int raw = pclose(p);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ReadText(errPath);
    return run;
}
