#pragma once
// Sample entries on hand-built bytes, in the stsd of a track as the walk meets them.
#include <string>

#include "boxes/sampletable/parse_leaf.h"

inline const std::string kEntryBase = std::string(6, '\0') + U16(1);  // reserved, data reference index 1

inline std::string Visual(const std::string& type, const std::string& boxes, const std::string& name = "\x03" "abc") {
    std::string compressor = name;
    compressor.resize(32, '\0');
    return Box(type, kEntryBase + U16(0) + U16(0) + std::string(12, '\0') + U16(160) + U16(120) + U32(0x00480000) +
                         U32(0x00480000) + U32(0) + U16(1) + compressor + U16(0x18) + U16(0xFFFF) + boxes);
}
inline std::string Audio(const std::string& type, const std::string& boxes) {
    return Box(type, kEntryBase + U32(0) + U32(0) + U16(2) + U16(16) + U16(0) + U16(0) + U32(44100u << 16) + boxes);
}
// A track of `handler` whose stsd holds `entries` (`count` of them, 1 when 0).
inline std::string InStsd(const std::string& handler, const std::string& entries, uint32_t count = 0) {
    return InStbl(FullBox("stsd", 0, 0, U32(count ? count : 1) + entries), handler);
}
