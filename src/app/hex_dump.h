#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class CCorvelLib;

// The dump pane never shows more than this many bytes of one request.
constexpr uint32_t kMaxDumpBytes = 32000;

// 16 bytes a line: "%02X " per byte, three blanks per byte missing from a short last
// line, "; ", one character per byte (0x20 to 0x7E as themselves, '.' otherwise), "\r\n".
std::string FormatHexDump(const uint8_t* bytes, size_t count);

// Reads at most kMaxDumpBytes from `offset` through the facade's own read handle and
// formats only the bytes actually read (none past the end of the file); `shown`
// (when given) receives their number.
std::string DumpFileBytes(const CCorvelLib& lib, int64_t offset, uint64_t count, uint64_t* shown = nullptr);

// A non-negative decimal number with nothing else around it; nullopt otherwise.
std::optional<uint64_t> ParseDecimal(const std::string& text);
