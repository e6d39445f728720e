#pragma once
#include <cstdint>
#include <string>

#include "boxes/sampleentry/sample_entry.h"

// tmcd (QuickTime): a timecode track's entry: how its samples, frame numbers, count time.
class CTimecodeSampleEntry : public CSampleEntry {
public:
    // The flags' bits.
    static constexpr uint32_t kDropFrame = 0x1, kMax24Hours = 0x2, kNegativeTimesOk = 0x4, kCounter = 0x8;

    explicit CTimecodeSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // A timecode sample's frame number as HH:MM:SS:FF (";" before the frames when they
    // drop), counted in the entry's frames per second; empty when it counts none.
    std::string Timecode(uint32_t frame) const;

    uint32_t m_reserved1 = 0;
    uint32_t m_flags = 0;
    uint32_t m_timescale = 0;
    uint32_t m_frameDuration = 0;
    uint32_t m_numberOfFrames = 0;  // 8
    uint32_t m_reserved2 = 0;       // 8
    // Bytes too few for a box after the fields (writers pad the entry); the boxes (a
    // name) follow otherwise.
    std::string m_padding;
};
