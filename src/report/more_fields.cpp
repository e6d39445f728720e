#include "report/more_fields.h"

#include <charconv>

#include "report/format.h"

std::string FixedText(int64_t raw, int fractionBits) {
    char text[40];
    const double v = double(raw) / double(int64_t{1} << fractionBits);
    std::string s(text, std::to_chars(text, text + sizeof text, v).ptr);
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

std::string FixedRawText(int64_t raw, int fractionBits, uint32_t hexField, int hexDigits) {
    return FixedText(raw, fractionBits) + Format(" (0X%0*X)", hexDigits, hexField);
}

int64_t SignExtend(uint64_t v, int bits) {
    const int shift = 64 - bits;
    return int64_t(v << shift) >> shift;
}

std::string MatrixText(const uint32_t (&m)[9]) {
    std::string out;
    for (int i = 0; i < 9; ++i) {
        if (i) out += i % 3 ? ", " : " / ";
        out += FixedText(int32_t(m[i]), i % 3 == 2 ? 30 : 16);
    }
    return out;
}

std::string WordsText(const uint32_t* words, size_t n, int hexDigits) {
    std::string out;
    for (size_t i = 0; i < n; ++i) out += Format(i ? " 0X%0*X" : "0X%0*X", hexDigits, words[i]);
    return out;
}
