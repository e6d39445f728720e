#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"

// loci (3GPP, in udta): where the content was made or what it shows.
class CLocationBox : public CFullBox {
public:
    explicit CLocationBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_pad = 0;           // 1 bit
    uint32_t m_language[3] = {};  // 5-bit codes, each letter - 0x60
    std::string m_name;           // UTF-8, or UTF-16 after a byte order mark; no terminator
    uint32_t m_role = 0;          // 8: 0 shooting, 1 real, 2 fictional
    uint32_t m_longitude = 0;     // signed 16.16 degrees
    uint32_t m_latitude = 0;
    uint32_t m_altitude = 0;      // signed 16.16 metres
    std::string m_body;           // the astronomical body: "earth"
    std::string m_notes;
};

// Reads a text that ends in a zero: UTF-8 up to a zero byte, or UTF-16 (a byte order
// mark first) up to a zero pair. The terminator is read, not kept; with none, the text
// runs to the end of the bytes held.
int ReadTerminatedText(CBitStreamReader& reader, std::string& out);
