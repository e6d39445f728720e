#pragma once
// The "More fields" table: the fields of a box that its first tables leave out, after
// them, each with its bytes like every row.
#include <cstdint>
#include <string>

#include "report/box_entry.h"

// Starts the table; its rows follow.
inline PageBuilder& MoreFields(PageBuilder& page) { return page.Table("More fields"); }

// A fixed-point number as the shortest decimal that reads back to it, with at least one
// decimal place: 0x00010000 with 16 fraction bits is "1.0", 0x0180 with 8 is "1.5".
std::string FixedText(int64_t raw, int fractionBits);
// "1.0 (0X00010000)": the fixed-point value, then the raw field in hex.
std::string FixedRawText(int64_t raw, int fractionBits, uint32_t hexField, int hexDigits = 8);
// The value of the low `bits` bits of `v` as a signed number.
int64_t SignExtend(uint64_t v, int bits);
// A transformation matrix as its nine numbers: a, b, u / c, d, v / x, y, w (u, v and w
// with 30 fraction bits, the rest with 16).
std::string MatrixText(const uint32_t (&m)[9]);
// Each word of a reserved or pre-defined run in hex, one blank apart: "0X00000000 0X00000000".
std::string WordsText(const uint32_t* words, size_t n, int hexDigits = 8);
