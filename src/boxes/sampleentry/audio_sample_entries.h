#pragma once
#include <cstdint>

#include "boxes/sampleentry/sample_entry.h"

// A sound sample entry: the audio fields; the bytes after them are read through,
// except in mp4a, whose esds follows.
class CAudioSampleEntry : public CSampleEntry {
public:
    explicit CAudioSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    // Reserved in MP4; QuickTime's sound description version, revision level and vendor.
    uint32_t m_soundVersion = 0;  // 16
    uint32_t m_revision = 0;      // 16
    uint32_t m_vendor = 0;
    uint32_t m_channelCount = 0;  // 16
    uint32_t m_sampleSize = 0;    // 16
    uint32_t m_preDefined = 0;    // 16
    uint32_t m_reserved3 = 0;     // 16
    uint32_t m_sampleRate = 0;    // 16.16
};

// mp4a: the audio fields, then its esds and the boxes after it. An esds that fails to
// parse leaves the entry parsed, without the boxes after it.
class CMPEG4AudioSampleEntry : public CAudioSampleEntry {
public:
    explicit CMPEG4AudioSampleEntry(const CBox& header) : CAudioSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// Any entry of an MPEG-4 system stream track (odsm, sdsm and their kin): its esds and
// the boxes after it.
class CMPEGSampleEntry : public CSampleEntry {
public:
    explicit CMPEGSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
