#include "boxes/sampleentry/timecode_sample_entry.h"

#include <cstdio>

int CTimecodeSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0 || reader.ReadBits(32, m_reserved1) < 0 || reader.ReadBits(32, m_flags) < 0 ||
        reader.ReadBits(32, m_timescale) < 0 || reader.ReadBits(32, m_frameDuration) < 0 ||
        reader.ReadBits(8, m_numberOfFrames) < 0 || reader.ReadBits(8, m_reserved2) < 0)
        return -1;
    if (reader.PresentBytes() < 8) return reader.ReadBytes(reader.PresentBytes(), m_padding) < 0 ? -1 : 0;
    return ParseEntryChildren(*this, reader);
}

std::string CTimecodeSampleEntry::Timecode(uint32_t frame) const {
    const uint64_t fps = m_numberOfFrames;
    if (fps == 0) return "";
    const bool drop = m_flags & kDropFrame;
    uint64_t count = frame;
    // Drop frame skips the first frame numbers of each minute but every tenth (two at
    // 30 frames a second, four at 60): the label is the count with those put back.
    if (drop && fps >= 15) {
        const uint64_t dropped = fps / 15, perMinute = fps * 60 - dropped, perTenMinutes = fps * 600 - dropped * 9;
        const uint64_t tens = count / perTenMinutes, rest = count % perTenMinutes;
        count += dropped * 9 * tens + (rest > dropped ? dropped * ((rest - dropped) / perMinute) : 0);
    }
    const uint64_t seconds = count / fps;
    const uint64_t hours = (m_flags & kMax24Hours) ? seconds / 3600 % 24 : seconds / 3600;
    char text[64];
    std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu%c%02llu", static_cast<unsigned long long>(hours),
                  static_cast<unsigned long long>(seconds / 60 % 60), static_cast<unsigned long long>(seconds % 60),
                  drop ? ';' : ':', static_cast<unsigned long long>(count % fps));
    return text;
}
