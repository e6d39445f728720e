#pragma once
#include <cstdint>
#include <string>

// error: the file is wrong; warning: legal, but likely to break players; info: worth knowing.
enum class Severity { Error, Warning, Info };
const char* SeverityText(Severity severity);

// One thing a check found: the rule it breaks, the box (as a box path) and the bytes
// at fault (the field's span, else the box's).
struct Finding {
    Severity severity = Severity::Error;
    std::string rule;  // "stco-offset-past-eof"
    std::string box;   // "moov/trak[0]/mdia/minf/stbl/stco"
    uint64_t offset = 0;
    uint64_t length = 0;
    std::string message;
};
