#include "flv/tag_bodies.h"

#include "base/log.h"

int CAudioTagBody::ParseTagBody(CBitStreamReader& reader) {
    CORVEL_LOG("[CAudioTagBody::ParseTagBody] start_offset: %lld", static_cast<long long>(m_startOffset));
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

namespace {
// A sequence header (packet type 0) holds the codec's configuration; the other packets
// (raw AAC frames, NAL units, the end of a sequence) are not read.
template <class Config>
int ParseSequenceHeader(CBitStreamReader& reader, uint32_t packetType, std::unique_ptr<Config>& config) {
    if (packetType != 0) {
        reader.SkipBits(reader.RemainingBits);
        return 0;
    }
    config = std::make_unique<Config>();
    return config->Parse(reader);
}
}  // namespace

int CAACTagBody::ParseTagBody(CBitStreamReader& reader) {
    CORVEL_LOG("[CAACTagBody::ParseTagBody] start_offset: %lld", static_cast<long long>(m_startOffset));
    return ParseSequenceHeader(reader, m_aacPacketType, m_audioSpecificConfig);
}

int CAVCVideoPacket::ParsePacket(CBitStreamReader& reader) {
    CORVEL_LOG("[CAVCVideoPacket::ParsePacket] start_offset: %lld", static_cast<long long>(m_startOffset));
    return ParseSequenceHeader(reader, m_avcPacketType, m_configRecord);
}

int CVideoTagBody::ParseTagBody(CBitStreamReader& reader) {
    CORVEL_LOG("[CVideoTagBody::ParseTagBody] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (m_frameType == 5) {  // video info or command frame
        reader.SkipBits(reader.RemainingBits);
        return 0;
    }
    if (m_codecId != 7) return 0;
    m_avcPacket = std::make_unique<CAVCVideoPacket>(m_startOffset, m_avcPacketType);
    if (int status = m_avcPacket->ParsePacket(reader); status < 0) return status;
    reader.SkipBits(reader.RemainingBits);
    return 0;
}

int CScriptDataTag::ParseTagBody(CBitStreamReader& reader) {
    CORVEL_LOG("[CScriptDataTag::ParseTagBody] start_offset: %lld", static_cast<long long>(m_startOffset));
    bool ended = false;
    if (int status = ReadAmf0Value(reader, m_first, ended); status < 0 || ended) return status;
    return ReadAmf0Value(reader, m_second, ended);
}
