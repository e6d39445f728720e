#include "report/format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cinttypes>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <type_traits>

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    // Most texts fit a small buffer: one formatting pass; a longer one takes a second.
    char small[256];
    const int n = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0 && size_t(n) < sizeof small) {
        out.assign(small, size_t(n));
    } else if (n > 0) {
        out.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

namespace {
// "decimal (0XHEX)": the hex of all the value's bits (a negative value's two's
// complement), upper case, at least `width` digits.
template <class Int>
std::string DecimalHex(Int v, int width) {
    char text[48];
    char* p = std::to_chars(text, text + 24, v).ptr;
    p = std::copy_n(" (0X", 4, p);
    char hex[16];
    const char* end = std::to_chars(hex, hex + 16, static_cast<std::make_unsigned_t<Int>>(v), 16).ptr;
    for (int pad = width - int(end - hex); pad > 0; --pad) *p++ = '0';
    for (const char* h = hex; h < end; ++h) *p++ = static_cast<char>(std::toupper(static_cast<unsigned char>(*h)));
    *p++ = ')';
    return std::string(text, p);
}
}  // namespace

std::string U32Text(uint32_t v) { return DecimalHex(v, 8); }
std::string U32Text2(uint32_t v) { return DecimalHex(v, 2); }
std::string U32Text4(uint32_t v) { return DecimalHex(v, 4); }
std::string U64Text(uint64_t v) { return DecimalHex(v, 8); }
std::string I64Text(int64_t v) { return DecimalHex(v, 8); }
std::string I32Text(int32_t v) { return DecimalHex(v, 8); }

std::string Decimal(uint64_t v) {
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

std::string Decimal(int64_t v) {
    char text[24];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

namespace {
// Days since 1970-01-01 to a civil date (proleptic Gregorian).
void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += (m <= 2);
}

// Beyond the year 3000 the calendar text means nothing.
constexpr int64_t kLastDateSecond = 32535215999;

// "%d/%02d/%02d %02d:%02d:%02d" of seconds since 1970 (negative before it).
std::string CalendarText(int64_t s) {
    const int64_t days = s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
    const int64_t rem = s - days * 86400;
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    return Format("%d/%02u/%02u %02u:%02u:%02u", static_cast<int>(y), m, d, static_cast<unsigned>(rem / 3600),
                  static_cast<unsigned>(rem / 60 % 60), static_cast<unsigned>(rem % 60));
}
}  // namespace

std::string FormatDateText(uint64_t t) {
    if (t == 0) return Format("%d/%02d/%02d %02d:%02d:%02d", 1904, 1, 1, 12, 0, 0);
    const uint64_t k1904 = 2082844800;
    uint64_t s = (t >= k1904 + 1 && t <= k1904 + 0xFFFFFFFFull) ? t - k1904 : t;
    if (s > uint64_t(kLastDateSecond)) return Format("(out of range: %" PRIu64 ")", t);
    return CalendarText(static_cast<int64_t>(s));
}

std::string FormatUnixDateText(double seconds) {
    if (!(seconds >= -double(kLastDateSecond) && seconds <= double(kLastDateSecond)))
        return Format("(out of range: %.f)", seconds);
    return CalendarText(static_cast<int64_t>(std::floor(seconds)));
}

std::string FormatNtpText(uint64_t ntp) {
    const int64_t unixSeconds = static_cast<int64_t>(ntp >> 32) - 2208988800;  // 1900 to 1970
    const int64_t days = (unixSeconds >= 0 ? unixSeconds : unixSeconds - 86399) / 86400;
    const int64_t rem = unixSeconds - days * 86400;
    const unsigned ms = static_cast<unsigned>(((ntp & 0xFFFFFFFFu) * 1000) >> 32);
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    return Format("%d/%02u/%02u %02u:%02u:%02u.%03u", static_cast<int>(y), m, d, static_cast<unsigned>(rem / 3600),
                  static_cast<unsigned>(rem / 60 % 60), static_cast<unsigned>(rem % 60), ms);
}

std::string FormatBytesText(const uint8_t* bytes, size_t n) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(n * 5);
    for (size_t i = 0; i < n; ++i) {
        if (i) out += ' ';
        out += "0x";
        out += kHex[bytes[i] >> 4];
        out += kHex[bytes[i] & 15];
    }
    return out;
}

Text FourCCValue(uint32_t code) { return Text::FromFile(FourCCUtf8(code)); }

Text CodeText(uint32_t code) { return code ? FourCCValue(code) + Text(Format(" (0X%08X)", code)) : U32Text(0); }

Text StringValue(const std::string& bytes) { return Text::FromFile(std::string_view(bytes.c_str())); }

namespace {
// The Macintosh language codes QuickTime files still carry: 0 to 94, then 128 to 150.
constexpr const char* kMacLanguages[] = {
    "English", "French", "German", "Italian", "Dutch", "Swedish", "Spanish", "Danish", "Portuguese", "Norwegian",
    "Hebrew", "Japanese", "Arabic", "Finnish", "Greek", "Icelandic", "Maltese", "Turkish", "Croatian",
    "Traditional Chinese", "Urdu", "Hindi", "Thai", "Korean", "Lithuanian", "Polish", "Hungarian", "Estonian",
    "Latvian", "Sami", "Faroese", "Farsi", "Russian", "Simplified Chinese", "Flemish", "Irish", "Albanian",
    "Romanian", "Czech", "Slovak", "Slovenian", "Yiddish", "Serbian", "Macedonian", "Bulgarian", "Ukrainian",
    "Belarusian", "Uzbek", "Kazakh", "Azerbaijani", "Azerbaijani (Arabic)", "Armenian", "Georgian", "Moldavian",
    "Kirghiz", "Tajiki", "Turkmen", "Mongolian", "Mongolian (Cyrillic)", "Pashto", "Kurdish", "Kashmiri", "Sindhi",
    "Tibetan", "Nepali", "Sanskrit", "Marathi", "Bengali", "Assamese", "Gujarati", "Punjabi", "Oriya", "Malayalam",
    "Kannada", "Tamil", "Telugu", "Sinhala", "Burmese", "Khmer", "Lao", "Vietnamese", "Indonesian", "Tagalog",
    "Malay (Roman)", "Malay (Arabic)", "Amharic", "Tigrinya", "Oromo", "Somali", "Swahili", "Kinyarwanda", "Rundi",
    "Nyanja", "Malagasy", "Esperanto",
};
constexpr const char* kMacLanguagesFrom128[] = {
    "Welsh", "Basque", "Catalan", "Latin", "Quechua", "Guarani", "Aymara", "Tatar", "Uighur", "Dzongkha",
    "Javanese (Roman)", "Sundanese (Roman)", "Galician", "Afrikaans", "Breton", "Inuktitut", "Scottish Gaelic",
    "Manx Gaelic", "Irish Gaelic", "Tongan", "Greek (polytonic)", "Greenlandic", "Azerbaijani (Roman)",
};
}  // namespace

std::string QuickTimeLanguageText(uint32_t value) {
    if (value == 0x7FFF) return "unspecified (0X7FFF)";
    if (value >= 0x400) return {};
    const char* name = "unknown";
    if (value < std::size(kMacLanguages)) name = kMacLanguages[value];
    if (value >= 128 && value - 128 < std::size(kMacLanguagesFrom128)) name = kMacLanguagesFrom128[value - 128];
    return Format("%s (Macintosh language %u)", name, value);
}

Text HandlerNameValue(const std::string& bytes) {
    if (!bytes.empty() && static_cast<uint8_t>(bytes[0]) == bytes.size() - 1) return StringValue(bytes.substr(1));
    return StringValue(bytes);
}
