#pragma once
#include <cstdint>
#include <string>

#include "boxes/sampleentry/sample_entry.h"

// A hint entry other than rtp: its bytes after the data reference index, as they stand.
class CHintSampleEntry : public CSampleEntry {
public:
    explicit CHintSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;
    const std::string& GetData() const { return m_data; }

    std::string m_data;
};

// rtp : the RTP hint track's versions and packet size, then its boxes (tims, tsro, snro).
class CRtpHintSampleEntry : public CSampleEntry {
public:
    explicit CRtpHintSampleEntry(const CBox& header) : CSampleEntry(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_hintTrackVersion = 0;          // 16
    uint32_t m_highestCompatibleVersion = 0;  // 16
    uint32_t m_maxPacketSize = 0;
};

// tims: the RTP time scale.
class CTimeScaleEntry : public CBox {
public:
    explicit CTimeScaleEntry(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(32, m_timeScale); }
    uint32_t m_timeScale = 0;
};

// tsro: the offset added to the RTP time stamps.
class CTimeOffset : public CBox {
public:
    explicit CTimeOffset(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(32, m_offset); }
    uint32_t m_offset = 0;
};

// snro: the offset added to the RTP sequence numbers.
class CSequenceOffset : public CBox {
public:
    explicit CSequenceOffset(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override { return reader.ReadBits(32, m_offset); }
    uint32_t m_offset = 0;
};
