#include "base/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace corvel_log {

static bool ReadSwitch() {
    const char* v = std::getenv("CORVEL_LOG");
    return v && std::strcmp(v, "1") == 0;
}

const bool g_enabled = ReadSwitch();

void Write(const char* format, ...) {
    // Lines are cut at the buffer, as long diagnostic lines always were.
    char line[61440];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", line);
}

}  // namespace corvel_log
