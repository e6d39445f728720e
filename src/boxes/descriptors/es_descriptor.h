#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "boxes/box.h"
#include "boxes/descriptors/audio_config.h"
#include "boxes/descriptors/base_descriptor.h"

// An extension descriptor: tag 0x13 or 0x6A to 0xFE.
class CExtensionDescriptor : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;
};

// The extension profile level descriptor (tag 0x13).
class CExtensionProfileLevelDescriptor : public CExtensionDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;
    uint32_t m_profileLevelIndicationIndex = 0;
};

// The decoder config descriptor (tag 4): the stream's object and stream types, its
// bit rates, and its decoder specific info.
class CDecoderConfigDescriptor : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;

    uint32_t m_objectTypeIndication = 0;  // 8
    uint32_t m_streamType = 0;            // 6
    uint32_t m_upStream = 0;              // 1
    uint32_t m_reserved = 0;              // 1
    uint32_t m_bufferSizeDB = 0;          // 24
    uint32_t m_maxBitrate = 0;
    uint32_t m_avgBitrate = 0;
    // A CAudioSpecificConfig for MPEG-4 audio, else a plain CDecoderSpecificInfo.
    std::unique_ptr<CDecoderSpecificInfo> m_decoderSpecificInfo;
    std::unique_ptr<CExtensionProfileLevelDescriptor> m_profileLevelDescriptor;
};

// The SL config descriptor (tag 6).
class CSLConfigDescriptor : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;

    uint32_t m_predefined = 0;
    uint32_t m_useAccessUnitStartFlag = 0;
    uint32_t m_useAccessUnitEndFlag = 0;
    uint32_t m_useRandomAccessPointFlag = 0;
    uint32_t m_hasRandomAccessUnitsOnlyFlag = 0;
    uint32_t m_usePaddingFlag = 0;
    uint32_t m_useTimeStampsFlag = 0;
    uint32_t m_useIdleFlag = 0;
    uint32_t m_durationFlag = 0;
    uint32_t m_timeStampResolution = 0;
    uint32_t m_OCRResolution = 0;
    uint32_t m_timeStampLength = 0;
    uint32_t m_OCRLength = 0;
    uint32_t m_AU_Length = 0;
    uint32_t m_instantBitrateLength = 0;
    uint32_t m_degradationPriorityLength = 0;
    uint32_t m_AU_seqNumLength = 0;
    uint32_t m_packetSeqNumLength = 0;
    uint32_t m_reserved = 0;
    uint32_t m_timeScale = 0;
    uint32_t m_accessUnitDuration = 0;
    uint32_t m_compositionUnitDuration = 0;
    uint64_t m_startDecodingTimeStamp = 0;
    uint64_t m_startCompositionTimeStamp = 0;
};

// The ES descriptor (tag 3) an esds box carries.
class CESDescriptor : public CBaseDescriptor {
public:
    int Parse(CBitStreamReader& reader) override;

    uint32_t m_esId = 0;  // 16
    uint32_t m_streamDependenceFlag = 0;
    uint32_t m_urlFlag = 0;
    uint32_t m_ocrStreamFlag = 0;
    uint32_t m_streamPriority = 0;  // 5
    uint32_t m_dependsOnEsId = 0;   // 16, with the stream dependence flag
    uint32_t m_urlLength = 0;       // 8, with the URL flag
    std::string m_urlString;
    uint32_t m_ocrEsId = 0;  // 16, with the OCR stream flag
    std::unique_ptr<CDecoderConfigDescriptor> m_decoderConfig;
    std::unique_ptr<CSLConfigDescriptor> m_slConfig;
};

// esds: the elementary stream descriptor of an MPEG-4 sample entry.
class ESDescriptorBox : public CFullBox {
public:
    explicit ESDescriptorBox(const CBox& header) : CFullBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    // The MPEG-4 audio configuration (object type indication 0x40); null for another stream.
    const CAudioSpecificConfig* AudioConfig() const;

    std::unique_ptr<CESDescriptor> m_esDescriptor;  // none when its header cannot be read
};
