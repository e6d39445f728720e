#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// ilst: the items of iTunes-style metadata (title, artist, track number, cover art, ...),
// each read as one record: the item's header, the header of its first inner box (the
// data box), that box's type and reserved words, and the rest of the item as payload.
class CIlstBox : public CBox {
public:
    struct Record {
        uint32_t tagLength = 0;   // the item's size
        uint32_t tagName = 0;     // the item's four-CC
        uint32_t dataLength = 0;  // the inner box's size
        uint32_t dataTag = 0;     // its four-CC: data
        uint32_t dataType = 0;    // what the payload holds: 1 text, 21 an integer, 13 a JPEG image, ...
        uint32_t reserved = 0;
        std::string payload;      // tagLength - 24 bytes
    };
    static constexpr uint32_t kRecordHeaderBytes = 24;

    explicit CIlstBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_tagCount = 0;  // the records read
    std::vector<Record> m_records;
};
