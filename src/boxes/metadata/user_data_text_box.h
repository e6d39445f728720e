#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// A QuickTime user data text (©nam, ©enc, ©swr, ... in a udta): the same text in one or
// more languages, each a 16-bit length, a 16-bit language code and the text.
class CUserDataTextBox : public CBox {
public:
    struct Entry {
        uint32_t size = 0;      // 16: of the text
        uint32_t language = 0;  // 16: a Macintosh language code, or three packed letters
        std::string text;
    };

    explicit CUserDataTextBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // Codes of this form start with the copyright sign (0xA9).
    static bool IsTextType(uint32_t type) { return type >> 24 == 0xA9; }

    std::vector<Entry> m_entries;
};
