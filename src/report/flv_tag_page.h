#pragma once
#include <cstdint>

#include "report/page_model.h"

class CMediaDataBox;
class SpanMap;
struct CAmf0Value;

// The page of FLV tag k of an mdat (from 0): its header fields, its encryption header,
// its tag header and its body, as key/value tables. No tables when the box holds no
// tag k. `spans` (or null) tells where the fields lie.
PageModel BuildFlvTagPage(const CMediaDataBox& mdat, uint32_t k, const SpanMap* spans);

// The text of a script data value: numbers and booleans with the hexadecimal of their
// own bytes, strings as they stand, dates as UTC date text, the entries of an ECMA
// array one line each.
Text Amf0ValueText(const CAmf0Value& value);
