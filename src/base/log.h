#pragma once

// The diagnostic log: one process-wide switch, off unless CORVEL_LOG=1 is set.
// When off, a log call is one load and a branch: the arguments are not formatted
// (nor evaluated). Lines go to stderr and are never shown to the user.
namespace corvel_log {
extern const bool g_enabled;
void Write(const char* format, ...) __attribute__((format(printf, 1, 2)));
}  // namespace corvel_log

#define CORVEL_LOG(...)                                      \
    do {                                                     \
        if (__builtin_expect(corvel_log::g_enabled, 0))      \
            corvel_log::Write(__VA_ARGS__);                  \
    } while (0)
