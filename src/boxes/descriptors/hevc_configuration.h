#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "boxes/box.h"
#include "boxes/descriptors/avc_configuration.h"

// The HEVC decoder configuration record, read from a reader over the record alone.
class CHEVCDecoderConfigurationRecord {
public:
    // One array of NAL units of one type (VPS, SPS, PPS, SEI).
    struct NalArray {
        uint32_t arrayCompleteness = 0;  // 1
        uint32_t reserved = 0;           // 1
        uint32_t nalUnitType = 0;        // 6
        uint32_t numNalus = 0;           // 16
        std::vector<NalUnit> nalUnits;
    };

    virtual ~CHEVCDecoderConfigurationRecord() = default;
    // 0 when read to the last NAL unit of the last array, -1 when the bytes end first.
    int Parse(CBitStreamReader& reader);

    size_t GetArrayCount() const { return m_arrays.size(); }
    const NalArray* GetArray(size_t i) const { return i < m_arrays.size() ? &m_arrays[i] : nullptr; }

    uint32_t m_configurationVersion = 0;
    uint32_t m_generalProfileSpace = 0;               // 2
    uint32_t m_generalTierFlag = 0;                   // 1
    uint32_t m_generalProfileIdc = 0;                 // 5
    uint32_t m_generalProfileCompatibilityFlags = 0;  // 32
    uint32_t m_progressiveSourceFlag = 0;
    uint32_t m_interlacedSourceFlag = 0;
    uint32_t m_nonPackedConstraintFlag = 0;
    uint32_t m_frameOnlyConstraintFlag = 0;
    uint64_t m_constraintIndicatorFlags = 0;  // the other 44 bits
    uint32_t m_generalLevelIdc = 0;
    uint32_t m_reserved4 = 0;
    uint32_t m_minSpatialSegmentationIdc = 0;  // 12
    uint32_t m_reserved6 = 0;
    uint32_t m_parallelismType = 0;  // 2
    uint32_t m_reserved6b = 0;
    uint32_t m_chromaFormat = 0;  // 2
    uint32_t m_reserved5 = 0;     // before the luma bit depth
    uint32_t m_bitDepthChromaMinus8 = 0;
    uint32_t m_reserved5b = 0;    // before the chroma bit depth
    uint32_t m_bitDepthLumaMinus8 = 0;
    uint32_t m_avgFrameRate = 0;        // 16
    uint32_t m_constantFrameRate = 0;   // 2
    uint32_t m_numTemporalLayers = 0;   // 3
    uint32_t m_temporalIdNested = 0;    // 1
    uint32_t m_lengthSizeMinusOne = 0;  // 2
    uint32_t m_numOfArrays = 0;         // 8
    std::vector<NalArray> m_arrays;
};

// hvcC: holds an HEVC decoder configuration record.
class CHEVCConfigurationBox : public CBox {
public:
    explicit CHEVCConfigurationBox(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::unique_ptr<CHEVCDecoderConfigurationRecord> m_record;  // none when the type is not hvcC
};
