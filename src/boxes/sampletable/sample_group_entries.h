#pragma once
#include <cstdint>

#include "boxes/protection/track_encryption_box.h"
#include "reader/bit_stream_reader.h"

// The group entries of an sgpd, chosen by the track's handler type and the
// grouping type. Generic entries read nothing.
class ISampleGroupDescriptionEntry {
public:
    virtual ~ISampleGroupDescriptionEntry() = default;
    virtual int ParseBox(CBitStreamReader& reader) = 0;
};

class IVisualSampleGroupEntry : public ISampleGroupDescriptionEntry {
public:
    int ParseBox(CBitStreamReader&) override { return 0; }
};

class IAudioSampleGroupEntry : public ISampleGroupDescriptionEntry {
public:
    int ParseBox(CBitStreamReader&) override { return 0; }
};

class IHintSampleGroupEntry : public ISampleGroupDescriptionEntry {
public:
    int ParseBox(CBitStreamReader&) override { return 0; }
};

// roll and prol: the distance to the sample from which decoding recovers (a video
// track's gradual refresh, an audio track's pre-roll), in samples.
class CRollRecoveryEntry : public ISampleGroupDescriptionEntry {
public:
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(16, m_rollDistance); }
    int16_t RollDistance() const { return static_cast<int16_t>(m_rollDistance); }

    uint32_t m_rollDistance = 0;  // 16, signed
};

// avss: an AVC sub-sequence (the reference list that follows is not read).
class CAVCSubSequenceEntry : public IVisualSampleGroupEntry {
public:
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_subSequenceIdentifier = 0;  // 16
    uint32_t m_layerNumber = 0;            // 8
    uint32_t m_durationFlag = 0;           // 1
    uint32_t m_avgRateFlag = 0;            // 1
    uint32_t m_reserved = 0;               // 6
    uint32_t m_duration = 0;               // 32, with the duration flag
    uint32_t m_accurateStatisticsFlag = 0; // 8, with the average rate flag
    uint32_t m_avgBitRate = 0;             // 16, with the average rate flag
    uint32_t m_avgFrameRate = 0;           // 16, with the average rate flag
};

// avll: an AVC layer.
class CAVCLayerEntry : public IVisualSampleGroupEntry {
public:
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_layerNumber = 0;             // 8
    uint32_t m_accurateStatisticsFlag = 0;  // 8
    uint32_t m_avgBitRate = 0;              // 16
    uint32_t m_avgFrameRate = 0;            // 16
};

// tscl and tlas: a temporal layer, in the field order this program has always read.
class CTemproalLayerEntry : public IVisualSampleGroupEntry {
public:
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_temporalLayerId = 0;                  // 8
    uint32_t m_profileSpace = 0;                     // 3
    uint32_t m_profileIdc = 0;                       // 5
    uint32_t m_constraintIndicatorFlags = 0;         // 16
    uint32_t m_levelIdc = 0;                         // 8
    uint32_t m_profileCompatibilityIndications = 0;  // 32
    uint32_t m_maxBitRate = 0;                       // 16
    uint32_t m_avgBitRate = 0;                       // 16
    uint32_t m_constantFrameRate = 0;                // 8
    uint32_t m_avgFrameRate = 0;                     // 16
};

// seig: the encryption of a group of samples (its key, IV size and pattern), in place
// of the track's tenc defaults.
class CSampleEncryptionGroupEntry : public ISampleGroupDescriptionEntry, public EncryptionDefaults {
public:
    int ParseBox(CBitStreamReader& reader) override { return Read(reader); }
};
