#pragma once
#include <cstdint>

#include "boxes/sampleentry/sample_entry.h"

// A sound sample entry: the audio fields (with a QuickTime sound description's
// version 1 or 2 fields after them), then its boxes.
class CAudioSampleEntry : public CSampleEntry {
public:
    // `quickTime`: the entry of a version-0 stsd, where a sound version of 1 or 2 means
    // QuickTime's longer layout (an ISO version-1 stsd's entries have none).
    explicit CAudioSampleEntry(const CBox& header, bool quickTime = true) : CSampleEntry(header), m_quickTime(quickTime) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The audio fields and the version 1 or 2 fields after them.
    int ReadAudioFields(CBitStreamReader& reader);
    // Whether the entry holds QuickTime's version 1 or 2 fields.
    bool HasSoundVersion1() const { return m_quickTime && m_soundVersion == 1; }
    bool HasSoundVersion2() const { return m_quickTime && m_soundVersion == 2; }

    // Reserved in MP4; QuickTime's sound description version, revision level and vendor.
    uint32_t m_soundVersion = 0;  // 16
    uint32_t m_revision = 0;      // 16
    uint32_t m_vendor = 0;
    uint32_t m_channelCount = 0;  // 16
    uint32_t m_sampleSize = 0;    // 16
    uint32_t m_preDefined = 0;    // 16
    uint32_t m_reserved3 = 0;     // 16
    uint32_t m_sampleRate = 0;    // 16.16
    // Version 1.
    uint32_t m_samplesPerPacket = 0;
    uint32_t m_bytesPerPacket = 0;
    uint32_t m_bytesPerFrame = 0;
    uint32_t m_bytesPerSample = 0;
    // Version 2 (the fields above then hold fixed values).
    uint32_t m_structSize = 0;
    uint64_t m_audioSampleRate = 0;  // a 64-bit float
    uint32_t m_audioChannels = 0;
    uint32_t m_always7F000000 = 0;
    uint32_t m_bitsPerChannel = 0;
    uint32_t m_formatFlags = 0;
    uint32_t m_constBytesPerPacket = 0;
    uint32_t m_constFramesPerPacket = 0;
    bool m_quickTime = true;
};

// mp4a: the audio fields, then its esds and the boxes after it. An esds that fails to
// parse leaves the entry parsed, without the boxes after it. A QuickTime version 1 or 2
// entry holds its esds inside a wave: its boxes are read as any entry's.
class CMPEG4AudioSampleEntry : public CAudioSampleEntry {
public:
    explicit CMPEG4AudioSampleEntry(const CBox& header, bool quickTime = true) : CAudioSampleEntry(header, quickTime) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// Any entry of an MPEG-4 system stream track (odsm, sdsm and their kin): its esds and
// the boxes after it.
class CMPEGSampleEntry : public CSampleEntry {
public:
    explicit CMPEGSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};
