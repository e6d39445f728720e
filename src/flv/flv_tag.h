#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "reader/bit_stream_reader.h"

class CTagBody;

// The header of an audio or video tag's data, and the encryption header of an
// encrypted tag. Fields not read keep their values before parsing.
class CTagHeader {
public:
    virtual ~CTagHeader() = default;
    virtual int ParseTagHeader(CBitStreamReader& reader) = 0;
    int64_t m_startOffset = 0;  // file offset of the header's first byte
};

class CAudioTagHeader : public CTagHeader {
public:
    int ParseTagHeader(CBitStreamReader& reader) override;
    uint32_t m_soundFormat = 14;   // 4 bits; 10 is AAC
    uint32_t m_soundRate = 4;      // 2 bits
    uint32_t m_soundSize = 2;      // 1 bit
    uint32_t m_soundType = 3;      // 1 bit
    uint32_t m_aacPacketType = 2;  // 8 bits, AAC only: 2 marks an audio tag that is not AAC
};

class CVideoTagHeader : public CTagHeader {
public:
    int ParseTagHeader(CBitStreamReader& reader) override;
    // The 24-bit composition time as a signed number.
    int32_t CompositionTime() const { return static_cast<int32_t>(m_compositionTime << 8) >> 8; }
    uint32_t m_frameType = 6;      // 4 bits
    uint32_t m_codecId = 8;        // 4 bits; 7 is AVC
    uint32_t m_avcPacketType = 3;  // 8 bits, AVC only
    uint32_t m_compositionTime = 0;  // 24 bits (signed), AVC only
};

class CEncryptionTagHeader : public CTagHeader {
public:
    int ParseTagHeader(CBitStreamReader& reader) override;
    uint32_t m_numFilters = 0;  // 8 bits
    std::string m_filterName;   // zero-terminated in the file
    uint32_t m_length = 0;      // 24 bits
};

// The parameters of an encrypted tag's filter: the selective ones carry a flag and
// reserved bits before the initialisation vector.
struct FilterParams {
    bool selective = false;  // the filter is not "Encryption"
    uint32_t encryptedAu = 0;  // 1 bit, selective only
    uint32_t reserved = 0;     // 7 bits, selective only
    std::vector<uint8_t> iv;   // 16 bytes
};

// One FLV tag inside the mdat of an F4F fragment: an 11-byte header, then its data
// (a tag header for audio and video, the encryption header and filter parameters of
// an encrypted tag, and its body).
class CFLVTag {
public:
    static constexpr uint32_t kHeaderBytes = 11;
    CFLVTag();
    virtual ~CFLVTag();
    // Reads the tag at the reader's position; the reader then stands on the tag's
    // previous-tag-size. -1 when the tag's header or data does not lie whole in the
    // reader (nothing of its data is read then). A failure inside its data keeps the
    // fields read so far, clears m_dataRead, and the tag still counts as read.
    int ParseTag(CBitStreamReader& reader);
    // The timestamp in milliseconds: the extended byte above the 24 bits.
    uint32_t Timestamp() const { return m_timestamp | (m_timestampExtended << 24); }

    int64_t m_startOffset = 0;  // file offset of the tag's first byte
    uint32_t m_reserved = 0;    // 2 bits
    uint32_t m_filter = 0;      // 1 bit: encrypted
    uint32_t m_tagType = 19;    // 5 bits: 8 audio, 9 video, 18 script data
    uint32_t m_dataSize = 0;    // 24 bits
    uint32_t m_timestamp = 0;   // 24 bits
    uint32_t m_timestampExtended = 0;  // 8 bits
    uint32_t m_streamId = 0;           // 24 bits
    std::unique_ptr<CTagHeader> m_tagHeader;  // audio or video
    std::unique_ptr<CEncryptionTagHeader> m_encryptionHeader;
    std::unique_ptr<FilterParams> m_filterParams;
    std::unique_ptr<CTagBody> m_body;
    bool m_dataRead = false;  // its data was read as far as its structure goes

private:
    int ParseData(CBitStreamReader& data);
};
