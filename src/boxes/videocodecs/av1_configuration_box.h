#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "boxes/box.h"

// The fields of an AV1 sequence header OBU up to its colour configuration and film
// grain flag. A field the header leaves out keeps 0 and is not shown.
struct Av1SequenceHeader {
    struct OperatingPoint {
        uint32_t idc = 0;    // 12
        uint32_t level = 0;  // 5
        uint32_t tier = 0;   // 1, when the level is above 7
        uint32_t decoderModelPresent = 0;
        uint32_t decoderBufferDelay = 0;  // with the decoder model: buffer delay length bits
        uint32_t encoderBufferDelay = 0;
        uint32_t lowDelayMode = 0;
        uint32_t initialDisplayDelayPresent = 0;
        uint32_t initialDisplayDelayMinusOne = 0;  // 4
    };
    // Reads a sequence header OBU's payload; -1 when its bytes end first.
    int Parse(CBitStreamReader& reader);
    // 8, 10 or 12, from the profile and the bit depth flags.
    uint32_t BitDepth() const { return m_twelveBit ? 12 : m_highBitdepth ? 10 : 8; }

    uint32_t m_seqProfile = 0;  // 3
    uint32_t m_stillPicture = 0;
    uint32_t m_reducedStillPictureHeader = 0;
    uint32_t m_timingInfoPresent = 0;
    uint32_t m_numUnitsInDisplayTick = 0;
    uint32_t m_timeScale = 0;
    uint32_t m_equalPictureInterval = 0;
    uint32_t m_numTicksPerPictureMinusOne = 0;  // uvlc
    uint32_t m_decoderModelInfoPresent = 0;
    uint32_t m_bufferDelayLengthMinusOne = 0;  // 5
    uint32_t m_numUnitsInDecodingTick = 0;
    uint32_t m_bufferRemovalTimeLengthMinusOne = 0;     // 5
    uint32_t m_framePresentationTimeLengthMinusOne = 0; // 5
    uint32_t m_initialDisplayDelayPresent = 0;
    uint32_t m_operatingPointsCountMinusOne = 0;  // 5
    std::vector<OperatingPoint> m_operatingPoints;
    uint32_t m_frameWidthBitsMinusOne = 0;   // 4
    uint32_t m_frameHeightBitsMinusOne = 0;  // 4
    uint32_t m_maxFrameWidthMinusOne = 0;
    uint32_t m_maxFrameHeightMinusOne = 0;
    uint32_t m_frameIdNumbersPresent = 0;
    uint32_t m_deltaFrameIdLengthMinusTwo = 0;       // 4
    uint32_t m_additionalFrameIdLengthMinusOne = 0;  // 3
    uint32_t m_use128x128Superblock = 0;
    uint32_t m_enableFilterIntra = 0;
    uint32_t m_enableIntraEdgeFilter = 0;
    uint32_t m_enableInterintraCompound = 0;
    uint32_t m_enableMaskedCompound = 0;
    uint32_t m_enableWarpedMotion = 0;
    uint32_t m_enableDualFilter = 0;
    uint32_t m_enableOrderHint = 0;
    uint32_t m_enableJntComp = 0;
    uint32_t m_enableRefFrameMvs = 0;
    uint32_t m_seqChooseScreenContentTools = 0;
    uint32_t m_seqForceScreenContentTools = 0;  // read when not chosen per frame
    uint32_t m_seqChooseIntegerMv = 0;
    uint32_t m_seqForceIntegerMv = 0;
    uint32_t m_orderHintBitsMinusOne = 0;  // 3
    uint32_t m_enableSuperres = 0;
    uint32_t m_enableCdef = 0;
    uint32_t m_enableRestoration = 0;
    // The colour configuration.
    uint32_t m_highBitdepth = 0;
    uint32_t m_twelveBit = 0;
    uint32_t m_monochrome = 0;
    uint32_t m_colourDescriptionPresent = 0;
    uint32_t m_colourPrimaries = 0;          // 8
    uint32_t m_transferCharacteristics = 0;  // 8
    uint32_t m_matrixCoefficients = 0;       // 8
    uint32_t m_colourRange = 0;
    bool m_colourRangeRead = false;  // sRGB and 4:4:4 profile imply full range unread
    uint32_t m_subsamplingX = 0;
    uint32_t m_subsamplingY = 0;
    bool m_subsamplingRead = false;  // read only by the 12-bit professional profile
    uint32_t m_chromaSamplePosition = 0;  // 2, with 4:2:0
    bool m_chromaSamplePositionRead = false;
    uint32_t m_separateUvDeltaQ = 0;
    uint32_t m_filmGrainParamsPresent = 0;
};

// One OBU of the configuration: its header and size; a sequence header's payload decoded.
struct Av1ConfigObu {
    uint32_t forbiddenBit = 0;
    uint32_t type = 0;  // 4
    uint32_t extensionFlag = 0;
    uint32_t hasSizeField = 0;
    uint32_t reserved = 0;
    uint32_t temporalId = 0;  // 3, with the extension
    uint32_t spatialId = 0;   // 2
    uint32_t extensionReserved = 0;  // 3
    uint64_t size = 0;        // leb128 with the size field, else the rest of the box
    uint32_t payload = 0;     // stands for the payload bytes not decoded
    std::unique_ptr<Av1SequenceHeader> sequenceHeader;
};

// av1C: the AV1 codec configuration record, then its configuration OBUs.
class CAV1ConfigurationBox : public CBox {
public:
    explicit CAV1ConfigurationBox(const CBox& header) : CBox(header) {}
    // -1 when a field or an OBU runs past the box. An empty box (a muxer that wrote the
    // entry before it saw the stream) holds no record.
    int ParseBox(CBitStreamReader& reader) override;
    // The first sequence header among the configuration OBUs, or null.
    const Av1SequenceHeader* SequenceHeader() const;

    bool m_hasRecord = false;
    uint32_t m_marker = 0;
    uint32_t m_version = 0;        // 7
    uint32_t m_seqProfile = 0;     // 3
    uint32_t m_seqLevelIdx0 = 0;   // 5
    uint32_t m_seqTier0 = 0;
    uint32_t m_highBitdepth = 0;
    uint32_t m_twelveBit = 0;
    uint32_t m_monochrome = 0;
    uint32_t m_chromaSubsamplingX = 0;
    uint32_t m_chromaSubsamplingY = 0;
    uint32_t m_chromaSamplePosition = 0;  // 2
    uint32_t m_reserved = 0;              // 3
    uint32_t m_initialPresentationDelayPresent = 0;
    uint32_t m_initialPresentationDelayMinusOne = 0;  // 4 (reserved without the flag)
    std::deque<Av1ConfigObu> m_configObus;  // a deque: the fields keep their addresses
};
