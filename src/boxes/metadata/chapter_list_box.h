#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "boxes/box.h"

// chpl (Nero, in the movie's udta): chapter start times and titles.
class CChapterListBox : public CFullBox {
public:
    struct Chapter {
        uint64_t startTime = 0;     // in 100 ns units
        uint32_t titleLength = 0;   // 8
        std::string title;
    };
    static constexpr double kUnitsPerSecond = 1e7;

    explicit CChapterListBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_reserved = 0;      // version 1 only
    uint32_t m_chapterCount = 0;  // 8
    std::vector<Chapter> m_chapters;  // those the payload holds
};
