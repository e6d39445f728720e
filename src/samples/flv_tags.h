#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>

class CBox;

// One FLV tag of an F4F mdat, as `corvel samples` lists it.
struct FlvTagRecord {
    uint64_t index = 0;      // from 0 within its mdat
    uint32_t type = 0;       // 8 audio, 9 video, 18 script data
    uint32_t timestamp = 0;  // milliseconds, the extended byte included
    uint32_t dataSize = 0;
    uint64_t offset = 0;  // file offset of the tag's first byte
};

// The number of FLV tags a box holds: those of an F4F mdat, 0 for any other box.
size_t FlvTagCount(const CBox& box);
// Visits the FLV tags of an mdat in file order until `visit` returns false.
void VisitFlvTags(const CBox& mdat, const std::function<bool(const FlvTagRecord&)>& visit);
