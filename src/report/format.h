#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "base/fourcc.h"
#include "report/text.h"

// printf-style formatting into a std::string (no length limit).
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The value formats shared by all rows.
std::string U32Text(uint32_t v);                  // "%u (0X%08X)"
std::string U32Text2(uint32_t v);                 // "%u (0X%02X)"
std::string U32Text4(uint32_t v);                 // "%u (0X%04X)"
std::string U64Text(uint64_t v);                  // "%I64u (0X%08X)", the hex of all 64 bits
std::string I64Text(int64_t v);                   // "%I64d (0X%08X)", the hex of all 64 bits
std::string I32Text(int32_t v);                   // "%d (0X%08X)"
std::string Decimal(uint64_t v);                  // "%u", "%I64u"
std::string Decimal(int64_t v);                   // "%d", "%I64d"

// Date text of a time in seconds: 0 is 1904/01/01 12:00:00; 2082844801 to
// 2082844800 + 0xFFFFFFFF count from 1904; any other value counts from 1970.
std::string FormatDateText(uint64_t t);
// The same text of a time in seconds since 1970 (UTC), before it too.
std::string FormatUnixDateText(double seconds);
// An NTP time stamp (seconds since 1900 in the high 32 bits, their fraction in the low
// 32) as UTC date text to the millisecond: "2024/05/01 12:00:00.250".
std::string FormatNtpText(uint64_t ntp);
// Each byte as 0x.. (lower-case), separated by one blank; all the bytes.
std::string FormatBytesText(const uint8_t* bytes, size_t n);
// A four-character code from the file as page text: its characters (FourCCUtf8), escaped in HTML.
Text FourCCValue(uint32_t code);
// A four-character code with its number: "roll (0X726F6C6C)"; 0, no code (a field the
// version or the flags leave out), as "0 (0X00000000)".
Text CodeText(uint32_t code);
// A string from the file as page text ("%S"): its bytes up to the first zero byte.
Text StringValue(const std::string& bytes);
// A handler name: QuickTime writes a Pascal string (a length byte, then that many bytes
// of text), shown as its text; any other name as StringValue.
Text HandlerNameValue(const std::string& bytes);
// A 16-bit language field that holds no three packed letters: a QuickTime Macintosh
// language code (below 0x400), "English (Macintosh language 0)", or 0x7FFF,
// "unspecified (0X7FFF)". Empty for packed letters.
std::string QuickTimeLanguageText(uint32_t value);

// A name by its code from a table of names ("" past it or for a gap).
template <size_t N>
const char* NameOf(const char* const (&names)[N], uint32_t code) {
    return code < N && names[code] ? names[code] : "";
}
