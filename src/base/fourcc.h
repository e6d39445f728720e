#pragma once
#include <cstdint>
#include <string>

// Four-character code from a literal: FourCC("moov").
constexpr uint32_t FourCC(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) | (uint32_t(uint8_t(s[2])) << 8) |
           uint32_t(uint8_t(s[3]));
}

// The four bytes of a code, most significant first, as they are (zero bytes kept).
inline std::string FourCCText(uint32_t code) {
    const char s[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    return std::string(s, 4);
}
