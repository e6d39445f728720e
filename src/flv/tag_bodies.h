#pragma once
#include <cstdint>
#include <memory>

#include "boxes/descriptors/audio_config.h"
#include "boxes/descriptors/avc_configuration.h"
#include "flv/amf0.h"
#include "reader/bit_stream_reader.h"

// The body of an FLV tag: what its data holds after the tag header (and the
// encryption header). Each reads from the tag's data reader.
class CTagBody {
public:
    virtual ~CTagBody() = default;
    virtual int ParseTagBody(CBitStreamReader& reader) = 0;
    int64_t m_startOffset = 0;  // file offset of the body's first byte
};

// Audio other than AAC: the frames are not read.
class CAudioTagBody : public CTagBody {
public:
    int ParseTagBody(CBitStreamReader& reader) override;
};

// AAC: a sequence header holds the AudioSpecificConfig; raw frames are not read.
class CAACTagBody : public CTagBody {
public:
    explicit CAACTagBody(uint32_t aacPacketType) : m_aacPacketType(aacPacketType) {}
    int ParseTagBody(CBitStreamReader& reader) override;
    uint32_t m_aacPacketType;
    std::unique_ptr<CAudioSpecificConfig> m_audioSpecificConfig;  // sequence header only
};

// The AVC data of a video tag: a sequence header holds the decoder configuration
// record; NAL units are not read.
class CAVCVideoPacket {
public:
    CAVCVideoPacket(int64_t startOffset, uint32_t avcPacketType)
        : m_startOffset(startOffset), m_avcPacketType(avcPacketType) {}
    virtual ~CAVCVideoPacket() = default;
    int ParsePacket(CBitStreamReader& reader);
    int64_t m_startOffset;
    uint32_t m_avcPacketType;
    std::unique_ptr<CAVCDecoderConfigurationRecord> m_configRecord;  // sequence header only
};

class CVideoTagBody : public CTagBody {
public:
    CVideoTagBody(uint32_t frameType, uint32_t codecId, uint32_t avcPacketType)
        : m_frameType(frameType), m_codecId(codecId), m_avcPacketType(avcPacketType) {}
    int ParseTagBody(CBitStreamReader& reader) override;
    uint32_t m_frameType;
    uint32_t m_codecId;
    uint32_t m_avcPacketType;
    std::unique_ptr<CAVCVideoPacket> m_avcPacket;  // AVC only
};

// Script data: two AMF0 values, in a metadata tag its name and an ECMA array of
// properties.
class CScriptDataTag : public CTagBody {
public:
    int ParseTagBody(CBitStreamReader& reader) override;
    CAmf0Value m_first;
    CAmf0Value m_second;
};
