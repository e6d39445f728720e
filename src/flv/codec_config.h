#pragma once
#include <cstdint>
#include <vector>

#include "reader/bit_stream_reader.h"

// Minimal readers of the two codec configurations an FLV sequence header carries:
// the AVC decoder configuration record of an AVC sequence header, and the
// AudioSpecificConfig (with its GASpecificConfig) of an AAC sequence header. They keep
// only what the tag page shows.

struct FlvAvcConfigRecord {
    struct ParameterSet {
        uint32_t length = 0;  // 16 bits
        std::vector<uint8_t> bytes;
    };
    int Parse(CBitStreamReader& reader);

    uint32_t configurationVersion = 0;      // 8 bits
    uint32_t profileIndication = 0;         // 8 bits
    uint32_t profileCompatibility = 0;      // 8 bits
    uint32_t levelIndication = 0;           // 8 bits
    uint32_t reserved6 = 0;                 // 6 bits
    uint32_t lengthSizeMinusOne = 0;        // 2 bits
    uint32_t reserved3 = 0;                 // 3 bits
    uint32_t numSequenceParameterSets = 0;  // 5 bits
    std::vector<ParameterSet> sequenceParameterSets;
    uint32_t numPictureParameterSets = 0;  // 8 bits
    std::vector<ParameterSet> pictureParameterSets;
};

struct FlvAudioSpecificConfig {
    int Parse(CBitStreamReader& reader);

    uint32_t audioObjectType = 0;           // 5 bits (31: 32 + 6 more bits)
    uint32_t samplingFrequencyIndex = 0;    // 4 bits
    uint32_t samplingFrequency = 0;         // 24 bits, only with index 15
    uint32_t channelConfiguration = 0;      // 4 bits
    uint32_t sbrFlag = 0;                   // 1 for audio object type 5 (SBR)
    uint32_t extensionAudioObjectType = 0;  // 5 with SBR
    uint32_t extensionSamplingFrequencyIndex = 0;
    uint32_t extensionSamplingFrequency = 0;
    // GASpecificConfig, for the general audio object types; absent fields stay 0.
    bool hasGaSpecificConfig = false;
    uint32_t frameLengthFlag = 0;
    uint32_t dependsOnCoreCoder = 0;
    uint32_t coreCoderDelay = 0;  // 14 bits
    uint32_t extensionFlag = 0;
    uint32_t layerNr = 0;        // 3 bits
    uint32_t numOfSubFrame = 0;  // 5 bits
    uint32_t layerLength = 0;    // 11 bits
    uint32_t aacSectionDataResilienceFlag = 0;
    uint32_t aacScalefactorDataResilienceFlag = 0;
    uint32_t aacSpectralDataResilienceFlag = 0;
    uint32_t extensionFlag3 = 0;

private:
    int ParseGaSpecificConfig(CBitStreamReader& reader);
};
