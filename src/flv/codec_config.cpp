#include "flv/codec_config.h"

#include "base/log.h"
#include "boxes/sampletable/table_reader.h"

namespace {
// A 16-bit length and that many bytes each; a set takes at least its length field.
int ReadParameterSets(CBitStreamReader& reader, uint32_t count, std::vector<FlvAvcConfigRecord::ParameterSet>& out) {
    return ReadEach(reader, count, 2, out, [&](FlvAvcConfigRecord::ParameterSet& set) {
        return reader.ReadBits(16, set.length) < 0 ? -1 : reader.ReadBytes(set.length, set.bytes);
    });
}

// 5 bits; 31 escapes to 32 plus 6 more bits.
int ReadAudioObjectType(CBitStreamReader& reader, uint32_t& type) {
    if (reader.ReadBits(5, type) < 0) return -1;
    if (type != 31) return 0;
    uint32_t extension = 0;
    if (reader.ReadBits(6, extension) < 0) return -1;
    type = 32 + extension;
    return 0;
}

// Reads through a program config element (ISO/IEC 14496-3): its fields are not kept,
// but the GASpecificConfig goes on after it.
int SkipProgramConfigElement(CBitStreamReader& reader) {
    uint32_t front = 0, side = 0, back = 0, lfe = 0, assoc = 0, cc = 0, flag = 0, v = 0;
    if (reader.ReadBits(10, v) < 0 ||  // element instance tag, object type, sampling frequency index
        reader.ReadBits(4, front) < 0 || reader.ReadBits(4, side) < 0 || reader.ReadBits(4, back) < 0 ||
        reader.ReadBits(2, lfe) < 0 || reader.ReadBits(3, assoc) < 0 || reader.ReadBits(4, cc) < 0)
        return -1;
    // Mono mixdown (4 bits), stereo mixdown (4 bits), matrix mixdown (3 bits), each after its flag.
    for (uint32_t bits : {4u, 4u, 3u})
        if (reader.ReadBits(1, flag) < 0 || (flag && reader.ReadBits(bits, v) < 0)) return -1;
    const uint64_t elementBits = 5ull * (front + side + back) + 4ull * (lfe + assoc) + 5ull * cc;
    if (elementBits > reader.RemainingBits) return -1;
    reader.SkipBits(elementBits);
    reader.SkipBits((8 - reader.BitPosition % 8) % 8);  // byte alignment
    uint32_t commentBytes = 0;
    if (reader.ReadBits(8, commentBytes) < 0 || commentBytes * 8ull > reader.RemainingBits) return -1;
    reader.SkipBits(commentBytes * 8ull);
    return 0;
}
}  // namespace

int FlvAvcConfigRecord::Parse(CBitStreamReader& reader) {
    if (reader.ReadBits(8, configurationVersion) < 0 || reader.ReadBits(8, profileIndication) < 0 ||
        reader.ReadBits(8, profileCompatibility) < 0 || reader.ReadBits(8, levelIndication) < 0 ||
        reader.ReadBits(6, reserved6) < 0 || reader.ReadBits(2, lengthSizeMinusOne) < 0 ||
        reader.ReadBits(3, reserved3) < 0 || reader.ReadBits(5, numSequenceParameterSets) < 0 ||
        ReadParameterSets(reader, numSequenceParameterSets, sequenceParameterSets) < 0 ||
        reader.ReadBits(8, numPictureParameterSets) < 0)
        return -1;
    // The profile-dependent fields of high profiles that may follow are not kept.
    return ReadParameterSets(reader, numPictureParameterSets, pictureParameterSets);
}

int FlvAudioSpecificConfig::Parse(CBitStreamReader& reader) {
    if (ReadAudioObjectType(reader, audioObjectType) < 0 || reader.ReadBits(4, samplingFrequencyIndex) < 0 ||
        (samplingFrequencyIndex == 15 && reader.ReadBits(24, samplingFrequency) < 0) ||
        reader.ReadBits(4, channelConfiguration) < 0)
        return -1;
    if (audioObjectType == 5) {  // SBR: the extension's sampling rate, then the core's object type
        sbrFlag = 1;
        extensionAudioObjectType = 5;
        if (reader.ReadBits(4, extensionSamplingFrequencyIndex) < 0 ||
            (extensionSamplingFrequencyIndex == 15 && reader.ReadBits(24, extensionSamplingFrequency) < 0) ||
            ReadAudioObjectType(reader, audioObjectType) < 0)
            return -1;
    }
    // The general audio object types carry a GASpecificConfig; the others' is not read.
    static constexpr uint32_t kGeneralAudio = 1u << 1 | 1u << 2 | 1u << 3 | 1u << 4 | 1u << 6 | 1u << 7 | 1u << 17 |
                                              1u << 19 | 1u << 20 | 1u << 21 | 1u << 22 | 1u << 23;
    hasGaSpecificConfig = audioObjectType < 32 && (kGeneralAudio >> audioObjectType & 1);
    if (hasGaSpecificConfig && ParseGaSpecificConfig(reader) < 0) return -1;
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

int FlvAudioSpecificConfig::ParseGaSpecificConfig(CBitStreamReader& reader) {
    if (reader.ReadBits(1, frameLengthFlag) < 0 || reader.ReadBits(1, dependsOnCoreCoder) < 0 ||
        (dependsOnCoreCoder && reader.ReadBits(14, coreCoderDelay) < 0) || reader.ReadBits(1, extensionFlag) < 0 ||
        (channelConfiguration == 0 && SkipProgramConfigElement(reader) < 0) ||
        ((audioObjectType == 6 || audioObjectType == 20) && reader.ReadBits(3, layerNr) < 0))
        return -1;
    if (!extensionFlag) return 0;
    if (audioObjectType == 22 && (reader.ReadBits(5, numOfSubFrame) < 0 || reader.ReadBits(11, layerLength) < 0))
        return -1;
    const bool resilient =
        audioObjectType == 17 || audioObjectType == 19 || audioObjectType == 20 || audioObjectType == 23;
    if (resilient && (reader.ReadBits(1, aacSectionDataResilienceFlag) < 0 ||
                      reader.ReadBits(1, aacScalefactorDataResilienceFlag) < 0 ||
                      reader.ReadBits(1, aacSpectralDataResilienceFlag) < 0))
        return -1;
    if (reader.ReadBits(1, extensionFlag3) < 0) return -1;
    if (extensionFlag3) {
        CORVEL_LOG("[FlvAudioSpecificConfig::ParseGaSpecificConfig] extension flag 3: not implemented");
        return -1;
    }
    return 0;
}
