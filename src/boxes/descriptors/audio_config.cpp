#include "boxes/descriptors/audio_config.h"

#include "base/log.h"

int CDecoderSpecificInfo::Parse(CBitStreamReader& reader) {
    if (m_tag != kDecSpecificInfoTag) return -1;
    if (reader.ReadBytes(reader.PresentBytes(), m_bytes) < 0) return -1;
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

namespace {
// An audio object type: 5 bits, or 32 plus 6 more bits after the escape value 31.
int ReadAudioObjectType(CBitStreamReader& reader, uint32_t& type) {
    if (reader.ReadBits(5, type) < 0) return -1;
    if (type != 31) return 0;
    uint32_t more = 0;
    if (ReadDropped(reader, 6, more) < 0) return -1;
    type = 32 + more;
    return 0;
}

// A program config element, read through to find where it ends (its fields are not
// kept). Its comment is byte-aligned from the start of the audio specific config.
int SkipProgramConfigElement(CBitStreamReader& r, uint64_t configStartBit) {
    uint32_t front = 0, side = 0, back = 0, lfe = 0, assoc = 0, cc = 0, flag = 0, comment = 0;
    // element instance tag, object type, sampling frequency index, then the element counts
    if (ReadDropped(r, 4) < 0 || ReadDropped(r, 2) < 0 || ReadDropped(r, 4) < 0 || ReadDropped(r, 4, front) < 0 ||
        ReadDropped(r, 4, side) < 0 || ReadDropped(r, 4, back) < 0 || ReadDropped(r, 2, lfe) < 0 ||
        ReadDropped(r, 3, assoc) < 0 || ReadDropped(r, 4, cc) < 0)
        return -1;
    // mono and stereo mixdown: a flag, then the element number; matrix mixdown: a flag,
    // then its index and the pseudo surround flag
    for (uint32_t width : {4u, 4u, 3u})
        if (ReadDropped(r, 1, flag) < 0 || (flag && ReadDropped(r, width) < 0)) return -1;
    // front, side and back elements: is-CPE flag and tag; LFE and data elements: tag;
    // coupling elements: independent-switching flag and tag
    for (uint32_t i = 0; i < front + side + back + cc; ++i)
        if (ReadDropped(r, 5) < 0) return -1;
    for (uint32_t i = 0; i < lfe + assoc; ++i)
        if (ReadDropped(r, 4) < 0) return -1;
    if (ReadDropped(r, static_cast<uint32_t>((8 - (r.BitPosition - configStartBit) % 8) % 8)) < 0) return -1;
    if (ReadDropped(r, 8, comment) < 0) return -1;
    for (uint32_t i = 0; i < comment; ++i)
        if (ReadDropped(r, 8) < 0) return -1;
    return 0;
}

int ParseGASpecificConfig(CBitStreamReader& r, GASpecificConfig& ga, uint32_t type, uint32_t channelConfiguration,
                          uint64_t configStartBit) {
    if (r.ReadBits(1, ga.m_frameLengthFlag) < 0) return -1;
    CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] frameLengthFlag: %ld", static_cast<long>(ga.m_frameLengthFlag));
    if (r.ReadBits(1, ga.m_dependsOnCoreCoder) < 0) return -1;
    CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] dependsOnCoreCoder: %ld",
               static_cast<long>(ga.m_dependsOnCoreCoder));
    if (ga.m_dependsOnCoreCoder) {
        if (r.ReadBits(14, ga.m_coreCoderDelay) < 0) return -1;
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] coreCoderDelay: %ld", static_cast<long>(ga.m_coreCoderDelay));
    }
    if (r.ReadBits(1, ga.m_extensionFlag) < 0) return -1;
    CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] extensionFlag: %ld", static_cast<long>(ga.m_extensionFlag));
    if (channelConfiguration == 0 && SkipProgramConfigElement(r, configStartBit) < 0) return -1;
    if (type == 6 || type == 20) {
        if (r.ReadBits(3, ga.m_layerNr) < 0) return -1;
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] layNr: %ld", static_cast<long>(ga.m_layerNr));
    }
    if (!ga.m_extensionFlag) return 0;
    if (type == 22) {
        if (r.ReadBits(5, ga.m_numOfSubFrame) < 0 || r.ReadBits(11, ga.m_layerLength) < 0) return -1;
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] numOfSubFrame: %ld", static_cast<long>(ga.m_numOfSubFrame));
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] layer_length: %ld", static_cast<long>(ga.m_layerLength));
    }
    if (type == 17 || type == 19 || type == 20 || type == 23) {
        if (r.ReadBits(1, ga.m_aacSectionDataResilienceFlag) < 0 || r.ReadBits(1, ga.m_aacScalefactorDataResilienceFlag) < 0 ||
            r.ReadBits(1, ga.m_aacSpectralDataResilienceFlag) < 0)
            return -1;
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] aacSectionDataResilienceFlag: %ld",
                   static_cast<long>(ga.m_aacSectionDataResilienceFlag));
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] aacScalefactorDataResilienceFlag: %ld",
                   static_cast<long>(ga.m_aacScalefactorDataResilienceFlag));
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] aacSpectralDataResilienceFlag: %ld",
                   static_cast<long>(ga.m_aacSpectralDataResilienceFlag));
    }
    if (r.ReadBits(1, ga.m_extensionFlag3) < 0) return -1;
    CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] extensionFlag3: %ld", static_cast<long>(ga.m_extensionFlag3));
    if (ga.m_extensionFlag3) {
        CORVEL_LOG("[CAudioSpecificConfig::ParseGASpecificConfig] not implemented ....");
        return -1;
    }
    return 0;
}

bool HasGASpecificConfig(uint32_t type) {
    switch (type) {
        case 1: case 2: case 3: case 4: case 6: case 7: case 17: case 19: case 20: case 21: case 22: case 23:
            return true;
        default:
            return false;
    }
}
}  // namespace

int CAudioSpecificConfig::Parse(CBitStreamReader& reader) {
    const uint64_t startBit = reader.BitPosition;
    // SBR signalled by its own type (5): that type is the extension's, its rate follows the
    // channel configuration, then comes the underlying type. Each is read into its own
    // field, so each keeps its own bits.
    uint32_t first = 0;
    if (reader.PeekBits(5, first) < 0) return -1;
    const bool sbr = first == 5;
    if (ReadAudioObjectType(reader, sbr ? m_extensionAudioObjectType : m_audioObjectType) < 0 ||
        reader.ReadBits(4, m_samplingFrequencyIndex) < 0)
        return -1;
    if (m_samplingFrequencyIndex == 15 && reader.ReadBits(24, m_samplingFrequency) < 0) return -1;
    if (reader.ReadBits(4, m_channelConfiguration) < 0) return -1;
    if (sbr) {
        m_sbrFlag = 1;
        if (reader.ReadBits(4, m_extensionSamplingFrequencyIndex) < 0) return -1;
        if (m_extensionSamplingFrequencyIndex == 15 && reader.ReadBits(24, m_extensionSamplingFrequency) < 0) return -1;
        if (ReadAudioObjectType(reader, m_audioObjectType) < 0) return -1;
    }
    CORVEL_LOG("[CAudioSpecificConfig::Parse] Audio Object Type: %ld ( 1: AAC MAIN, 2: AAC LC, 5: SBR)",
               static_cast<long>(m_audioObjectType));
    CORVEL_LOG("[CAudioSpecificConfig::Parse] Sampling Frequency Index: 0x%x (0x0: 96000, 0x1: 88200, 0x2: 64000, "
               "0x3: 48000, 0x4: 44100 ....)", m_samplingFrequencyIndex);
    if (m_samplingFrequencyIndex == 15)
        CORVEL_LOG("[CAudioSpecificConfig::Parse] Sampling Frequency: %ld", static_cast<long>(m_samplingFrequency));
    CORVEL_LOG("[CAudioSpecificConfig::Parse] Channel Configuration: %ld (0: defined in GASpecificConfig) ",
               static_cast<long>(m_channelConfiguration));
    if (m_sbrFlag) {
        CORVEL_LOG("[CAudioSpecificConfig::Parse] Extension Audio Object Type: %ld", static_cast<long>(m_extensionAudioObjectType));
        CORVEL_LOG("[CAudioSpecificConfig::Parse] Extension Sampling Frequency Index: 0x%x ", m_extensionSamplingFrequencyIndex);
        if (m_extensionSamplingFrequencyIndex == 15)
            CORVEL_LOG("[CAudioSpecificConfig::Parse] Extension Sampling Frequency: %ld",
                       static_cast<long>(m_extensionSamplingFrequency));
    }
    if (HasGASpecificConfig(m_audioObjectType)) {
        CORVEL_LOG("[CAudioSpecificConfig::Parse] GASpecific Config()");
        m_gaSpecificConfig = std::make_unique<GASpecificConfig>();
        if (ParseGASpecificConfig(reader, *m_gaSpecificConfig, m_audioObjectType, m_channelConfiguration, startBit) < 0) {
            CORVEL_LOG("[CAudioSpecificConfig::Parse] Fail to parse a GASpecificConfig");
            return -1;
        }
    } else {
        CORVEL_LOG("[CAudioSpecificConfig::Parse] not implemented parsing SpecificConfig(audio object type - 0x%x)",
                   m_audioObjectType);
    }
    if (!sbr) ReadSyncExtension(reader);
    // Anything after (a parametric stereo extension) is not decoded.
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

void CAudioSpecificConfig::ReadSyncExtension(CBitStreamReader& reader) {
    uint32_t sync = 0;
    if (reader.RemainingBits < 16 || reader.PeekBits(11, sync) < 0 || sync != 0x2B7) return;
    reader.ReadBits(11, m_syncExtensionType);
    if (ReadAudioObjectType(reader, m_extensionAudioObjectType) < 0 || m_extensionAudioObjectType != 5) return;
    if (reader.ReadBits(1, m_sbrPresentFlag) < 0 || !m_sbrPresentFlag) return;
    m_sbrFlag = 1;
    if (reader.ReadBits(4, m_extensionSamplingFrequencyIndex) == 0 && m_extensionSamplingFrequencyIndex == 15)
        reader.ReadBits(24, m_extensionSamplingFrequency);
}

namespace {
uint32_t RateOf(uint32_t index, uint32_t explicitRate) {
    static const uint32_t kRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                                      22050, 16000, 12000, 11025, 8000,  7350};
    if (index == 15) return explicitRate;
    return index < 13 ? kRates[index] : 0;
}
}  // namespace

uint32_t CAudioSpecificConfig::SampleRate() const { return RateOf(m_samplingFrequencyIndex, m_samplingFrequency); }

uint32_t CAudioSpecificConfig::OutputSampleRate() const {
    return m_sbrFlag ? RateOf(m_extensionSamplingFrequencyIndex, m_extensionSamplingFrequency) : SampleRate();
}

uint32_t CAudioSpecificConfig::Channels() const {
    const uint32_t c = m_channelConfiguration;
    return c >= 1 && c <= 6 ? c : c == 7 ? 8 : 0;
}
