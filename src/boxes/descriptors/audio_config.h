#pragma once
#include <cstdint>
#include <memory>

#include "boxes/descriptors/base_descriptor.h"

// The decoder specific info of a decoder config descriptor (tag 5). Its bytes are
// decoded only for MPEG-4 audio (CAudioSpecificConfig).
class CDecoderSpecificInfo : public CBaseDescriptor {
public:
    // Checks the tag and keeps the bytes (a codec's own configuration, not decoded).
    int Parse(CBitStreamReader& reader) override;

    std::vector<uint8_t> m_bytes;
};

// The GA specific config of an AAC audio specific config; a field not read stays 0.
struct GASpecificConfig {
    uint32_t m_frameLengthFlag = 0;
    uint32_t m_dependsOnCoreCoder = 0;
    uint32_t m_coreCoderDelay = 0;  // 14 bits
    uint32_t m_extensionFlag = 0;
    uint32_t m_layerNr = 0;         // 3 bits
    uint32_t m_numOfSubFrame = 0;   // 5 bits
    uint32_t m_layerLength = 0;     // 11 bits
    uint32_t m_aacSectionDataResilienceFlag = 0;
    uint32_t m_aacScalefactorDataResilienceFlag = 0;
    uint32_t m_aacSpectralDataResilienceFlag = 0;
    uint32_t m_extensionFlag3 = 0;
};

// The audio specific config of MPEG-4 audio. Parse reads it from a reader over its
// bytes alone (the decoder specific info's body, or an FLV AAC sequence header) and
// never reads past them.
class CAudioSpecificConfig : public CDecoderSpecificInfo {
public:
    int Parse(CBitStreamReader& reader) override;

    // The core sampling rate in Hz (an index's or the explicit one); 0 for a reserved index.
    uint32_t SampleRate() const;
    // The rate a decoder puts out: the SBR extension's when the config signals it.
    uint32_t OutputSampleRate() const;
    // Channel configurations 1 to 6 are that many channels, 7 is eight; 0 leaves the
    // count to the program config element (and reserved values say nothing).
    uint32_t Channels() const;

    // The type read first; after an SBR signal (type 5, read into m_extensionAudioObjectType),
    // the underlying type read next.
    uint32_t m_audioObjectType = 0;
    uint32_t m_samplingFrequencyIndex = 0;
    uint32_t m_samplingFrequency = 0;  // only with index 15
    uint32_t m_channelConfiguration = 0;
    uint32_t m_sbrFlag = 0;
    uint32_t m_extensionAudioObjectType = 0;
    uint32_t m_extensionSamplingFrequencyIndex = 0;
    uint32_t m_extensionSamplingFrequency = 0;
    // The backward compatible SBR signalling after the GA config: its sync
    // extension type (0x2B7) and whether SBR is present; 0 when absent.
    uint32_t m_syncExtensionType = 0;  // 11 bits
    uint32_t m_sbrPresentFlag = 0;
    std::unique_ptr<GASpecificConfig> m_gaSpecificConfig;  // for the types that carry one

private:
    void ReadSyncExtension(CBitStreamReader& reader);
};
