#pragma once
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reader/bit_stream_reader.h"

// AMF0 values, as the script data tags of FLV carry them. Only numbers, booleans,
// strings, long strings, dates, ECMA arrays and object ends are decoded; any other
// marker ends the decoding of its tag.
enum Amf0Type : uint32_t {
    kAmf0Number = 0,
    kAmf0Boolean = 1,
    kAmf0String = 2,
    kAmf0EcmaArray = 8,
    kAmf0ObjectEnd = 9,
    kAmf0Date = 11,
    kAmf0LongString = 12,
    kAmf0Unread = 13,  // the type of a value nothing was read into
};

struct CAmf0EcmaEntry;

struct CAmf0Value {
    uint32_t type = kAmf0Unread;  // the marker byte
    uint64_t bits = 0;            // number and date: the IEEE 754 double as stored
    uint32_t boolean = 0;         // 8 bits
    uint32_t length = 0;          // string: 16 bits; long string: 32 bits
    std::string text;             // string and long string
    uint32_t count = 0;           // ECMA array: the count as stored
    // Each entry on its own: entries never move, and a count from the file reserves nothing.
    std::vector<std::unique_ptr<CAmf0EcmaEntry>> entries;
    uint32_t endMarker = 0;  // ECMA array and object end: 24 bits
    uint32_t timeZone = 0;   // date: a signed 16-bit offset as stored

    CAmf0Value();
    ~CAmf0Value();
    double Number() const { return std::bit_cast<double>(bits); }
    int16_t TimeZone() const { return static_cast<int16_t>(timeZone); }
};

struct CAmf0EcmaEntry {
    uint32_t keyLength = 0;  // 16 bits
    std::string key;
    CAmf0Value value;
};

// Reads one value (nothing when no bits remain: the value keeps type 13). A marker that
// is not decoded reads through the rest of `reader` and sets `ended`: no value of the
// tag follows it. Returns 0, or -1 when a read fails or ECMA arrays nest too deep.
int ReadAmf0Value(CBitStreamReader& reader, CAmf0Value& value, bool& ended, int depth = 0);
