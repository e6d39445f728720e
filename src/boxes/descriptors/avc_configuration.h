#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"

// A parameter set or NAL unit of a decoder configuration record: its 16-bit length
// and its bytes.
struct NalUnit {
    uint32_t length = 0;
    std::vector<uint8_t> bytes;
};

// Reads `count` units of a 16-bit length and that many bytes into `out`; -1 when the
// bytes end first (the whole units before stay).
int ReadNalUnits(CBitStreamReader& reader, uint64_t count, std::vector<NalUnit>& out);
// Logs each unit: its length, then its bytes as 0x.. text.
void LogNalUnits(const char* lengthText, const char* bytesText, const std::vector<NalUnit>& units);

// The AVC decoder configuration record. Parse reads it from a reader over the record
// alone (the payload of avcC, or the body of an FLV AVC sequence header).
class CAVCDecoderConfigurationRecord {
public:
    virtual ~CAVCDecoderConfigurationRecord() = default;
    // 0 when read up to the last picture parameter set, -1 when the bytes end first.
    // The fields of the high profiles after it are read when the record holds them.
    int Parse(CBitStreamReader& reader);
    // Whether the record held the fields of the high profiles.
    bool HasHighProfileFields() const { return m_hasHighProfileFields; }

    size_t GetSequenceParameterSetCount() const { return m_sequenceParameterSets.size(); }
    size_t GetPictureParameterSetCount() const { return m_pictureParameterSets.size(); }
    // Null past the stored sets.
    const NalUnit* GetSequenceParameterSet(size_t i) const;
    const NalUnit* GetPictureParameterSet(size_t i) const;

    uint32_t m_configurationVersion = 0;
    uint32_t m_AVCProfileIndication = 0;
    uint32_t m_profileCompatibility = 0;
    uint32_t m_AVCLevelIndication = 0;
    uint32_t m_reserved6 = 0;
    uint32_t m_lengthSizeMinusOne = 0;  // 2
    uint32_t m_reserved3 = 0;
    uint32_t m_numOfSequenceParameterSets = 0;  // 5
    uint32_t m_numOfPictureParameterSets = 0;   // 8
    std::vector<NalUnit> m_sequenceParameterSets;
    std::vector<NalUnit> m_pictureParameterSets;
    // The high profiles' fields.
    bool m_hasHighProfileFields = false;
    uint32_t m_reserved6b = 0;
    uint32_t m_chromaFormat = 0;  // 2
    uint32_t m_reserved5a = 0;
    uint32_t m_bitDepthLumaMinus8 = 0;  // 3
    uint32_t m_reserved5b = 0;
    uint32_t m_bitDepthChromaMinus8 = 0;  // 3
    uint32_t m_numOfSequenceParameterSetExt = 0;  // 8
    std::vector<NalUnit> m_sequenceParameterSetExts;
};

// avcC: holds an AVC decoder configuration record.
class CAVCConfigurationBox : public CBox {
public:
    explicit CAVCConfigurationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::unique_ptr<CAVCDecoderConfigurationRecord> m_record;  // none when the type is not avcC
};
