#include "app/hex_dump.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "boxes/containers/corvel.h"

std::string FormatHexDump(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve((count / 16 + 1) * 70);
    for (size_t line = 0; line < count; line += 16) {
        const size_t n = std::min<size_t>(16, count - line);
        for (size_t i = 0; i < n; ++i) {
            text += kDigits[bytes[line + i] >> 4];
            text += kDigits[bytes[line + i] & 0x0F];
            text += ' ';
        }
        text.append((16 - n) * 3, ' ');
        text += "; ";
        for (size_t i = 0; i < n; ++i) {
            const uint8_t b = bytes[line + i];
            // Printable ASCII only: 0x7F and 0x80 are no characters a font draws.
            text += (b >= 0x20 && b < 0x7F) ? static_cast<char>(b) : '.';
        }
        text += "\r\n";
    }
    return text;
}

std::string DumpFileBytes(const CCorvelLib& lib, int64_t offset, uint64_t count, uint64_t* shown) {
    if (shown) *shown = 0;
    count = std::min<uint64_t>(count, kMaxDumpBytes);
    if (count == 0 || offset < 0) return {};
    std::vector<uint8_t> buffer(count);
    const int64_t got = lib.ReadFileBytes(offset, buffer.data(), static_cast<uint32_t>(count));
    if (got <= 0) return {};
    const size_t n = static_cast<size_t>(std::min<int64_t>(got, count));
    if (shown) *shown = n;
    return FormatHexDump(buffer.data(), n);
}

std::optional<uint64_t> ParseDecimal(const std::string& text) {
    uint64_t value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || text[0] < '0' || text[0] > '9') return std::nullopt;
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}
