#pragma once
#include <cstdint>
#include <string>
#include <string_view>

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

// Codes are bytes, not text: Apple's (QuickTime's "©enc", iTunes' "©nam") take the
// byte 0xA9 from Mac Roman, their character set. So a code is shown as its bytes read as
// Mac Roman (ASCII below 0x80, zero and control bytes kept), in UTF-8.
// One byte's character written at `out` (one to three bytes); returns the end.
char* MacRomanUtf8(uint8_t byte, char* out);
// The four characters written at `out` (at most 12 bytes); returns the end.
char* FourCCUtf8(uint32_t code, char* out);
std::string FourCCUtf8(uint32_t code);
// The code FourCCUtf8 shows as `text`: four characters, each ASCII or one of Mac
// Roman's; false for any other text.
bool FourCCFromUtf8(std::string_view text, uint32_t& code);
