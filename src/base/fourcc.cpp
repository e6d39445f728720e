#include "base/fourcc.h"

namespace {
// The characters of bytes 0x80 to 0xFF in Mac Roman (made with Python's mac_roman codec).
constexpr uint16_t kMacRoman[128] = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1,
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3,
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF,
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211,
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB,
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA,
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC,
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};

char* AppendUtf8(uint32_t c, char* out) {
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | ((c >> 6) & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

// The character at text[i] (UTF-8, at most three bytes: Mac Roman lies in the BMP),
// and where the next begins; false when no such character starts there.
bool NextCharacter(std::string_view text, size_t& i, uint32_t& c) {
    const auto byte = [&](size_t k) { return k < text.size() ? static_cast<uint8_t>(text[k]) : 0u; };
    const uint32_t lead = byte(i);
    const size_t n = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3 : 0;
    if (n == 0 || i + n > text.size()) return false;
    c = n == 1 ? lead : n == 2 ? lead & 0x1F : lead & 0x0F;
    for (size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return false;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    if ((n == 2 && c < 0x80) || (n == 3 && c < 0x800)) return false;  // overlong
    i += n;
    return true;
}
}  // namespace

char* MacRomanUtf8(uint8_t byte, char* out) { return AppendUtf8(byte < 0x80 ? byte : kMacRoman[byte - 0x80], out); }

char* FourCCUtf8(uint32_t code, char* out) {
    for (int shift = 24; shift >= 0; shift -= 8) out = MacRomanUtf8(uint8_t(code >> shift), out);
    return out;
}

std::string FourCCUtf8(uint32_t code) {
    char text[12];
    return std::string(text, FourCCUtf8(code, text));
}

bool FourCCFromUtf8(std::string_view text, uint32_t& code) {
    code = 0;
    size_t i = 0;
    for (int k = 0; k < 4; ++k) {
        uint32_t c = 0;
        if (!NextCharacter(text, i, c)) return false;
        if (c >= 0x80) {
            uint32_t byte = 0x80;
            while (byte < 0x100 && kMacRoman[byte - 0x80] != c) ++byte;
            if (byte == 0x100) return false;
            c = byte;
        }
        code = (code << 8) | c;
    }
    return i == text.size();
}
