#include "flv/flv_tag.h"

#include "base/log.h"
#include "boxes/streaming/terminated_text.h"
#include "flv/tag_bodies.h"

int CAudioTagHeader::ParseTagHeader(CBitStreamReader& reader) {
    CORVEL_LOG("[CAudioTagHeader::ParseTagHeader] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (reader.ReadBits(4, m_soundFormat) < 0 || reader.ReadBits(2, m_soundRate) < 0 ||
        reader.ReadBits(1, m_soundSize) < 0 || reader.ReadBits(1, m_soundType) < 0)
        return -1;
    CORVEL_LOG("[CAudioTagHeader::ParseTagHeader] sound_format: %u (2: MP3, 10: AAC", m_soundFormat);
    if (m_soundFormat != 10) return 0;
    if (reader.ReadBits(8, m_aacPacketType) < 0) return -1;
    CORVEL_LOG("[CAudioTagHeader::ParseTagHeader] aac_type: %u (0: AAC Sequence Header, 1: AAC raw", m_aacPacketType);
    return 0;
}

int CVideoTagHeader::ParseTagHeader(CBitStreamReader& reader) {
    CORVEL_LOG("[CVideoTagHeader::ParseTagHeader] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (reader.ReadBits(4, m_frameType) < 0 || reader.ReadBits(4, m_codecId) < 0) return -1;
    CORVEL_LOG("[CVideoTagHeader::ParseTagHeader] codec_id: %u (7: AVC", m_codecId);
    if (m_codecId != 7) return 0;
    if (reader.ReadBits(8, m_avcPacketType) < 0 || reader.ReadBits(24, m_compositionTime) < 0) return -1;
    CORVEL_LOG("[CVideoTagHeader::ParseTagHeader] composition_time: 0x%x", m_compositionTime);
    return 0;
}

int CEncryptionTagHeader::ParseTagHeader(CBitStreamReader& reader) {
    if (reader.ReadBits(8, m_numFilters) < 0 || ReadZeroTerminated(reader, m_filterName) < 0 ||
        reader.ReadBits(24, m_length) < 0)
        return -1;
    return 0;
}

CFLVTag::CFLVTag() = default;
CFLVTag::~CFLVTag() = default;

int CFLVTag::ParseTag(CBitStreamReader& reader) {
    CORVEL_LOG("[CFLVTag::ParseTag] start_offset: %lld", static_cast<long long>(m_startOffset));
    if (reader.ReadBits(2, m_reserved) < 0 || reader.ReadBits(1, m_filter) < 0 || reader.ReadBits(5, m_tagType) < 0 ||
        reader.ReadBits(24, m_dataSize) < 0 || reader.ReadBits(24, m_timestamp) < 0 ||
        reader.ReadBits(8, m_timestampExtended) < 0 || reader.ReadBits(24, m_streamId) < 0)
        return -1;
    CORVEL_LOG("[CFLVTag::ParseTag] tag_type: %u (8: audio, 9: video, 18: script data)", m_tagType);
    CORVEL_LOG("[CFLVTag::ParseTag] data_size: %u", m_dataSize);
    // Data that runs past the media data box is not a tag of it.
    if (m_dataSize > reader.RemainingBytes()) return -1;
    CBitStreamReader data = reader.SubReader(m_dataSize);
    reader.SkipBits(uint64_t(m_dataSize) * 8);
    // The next tag is found after the data whatever its structure held.
    m_dataRead = ParseData(data) == 0;
    if (!m_dataRead) CORVEL_LOG("[CFLVTag::ParseTag] the tag's data ends inside its structure");
    return 0;
}

int CFLVTag::ParseData(CBitStreamReader& data) {
    const int64_t dataOffset = m_startOffset + kHeaderBytes;
    if (m_tagType == 8) m_tagHeader = std::make_unique<CAudioTagHeader>();
    if (m_tagType == 9) m_tagHeader = std::make_unique<CVideoTagHeader>();
    if (m_tagHeader) {
        m_tagHeader->m_startOffset = dataOffset;
        if (m_tagHeader->ParseTagHeader(data) < 0) return -1;
    }
    if (m_filter == 1) {
        m_encryptionHeader = std::make_unique<CEncryptionTagHeader>();
        m_encryptionHeader->m_startOffset = dataOffset + int64_t(data.BitPosition / 8);
        if (m_encryptionHeader->ParseTagHeader(data) < 0) return -1;
        m_filterParams = std::make_unique<FilterParams>();
        FilterParams& p = *m_filterParams;
        p.selective = m_encryptionHeader->m_filterName != "Encryption";
        // The selective filter's vector is read whatever its flag says.
        if (p.selective && (data.ReadBits(1, p.encryptedAu) < 0 || data.ReadBits(7, p.reserved) < 0)) return -1;
        if (data.ReadBytes(16, p.iv) < 0) return -1;
    }
    if (m_tagType == 18) {
        m_body = std::make_unique<CScriptDataTag>();
    } else if (m_tagType == 9) {
        const auto& h = static_cast<const CVideoTagHeader&>(*m_tagHeader);
        m_body = std::make_unique<CVideoTagBody>(h.m_frameType, h.m_codecId, h.m_avcPacketType);
    } else if (m_tagType == 8) {
        const auto& h = static_cast<const CAudioTagHeader&>(*m_tagHeader);
        if (h.m_soundFormat == 10)
            m_body = std::make_unique<CAACTagBody>(h.m_aacPacketType);
        else
            m_body = std::make_unique<CAudioTagBody>();
    }
    if (!m_body) return 0;
    m_body->m_startOffset = dataOffset + int64_t(data.BitPosition / 8);
    return m_body->ParseTagBody(data);
}
