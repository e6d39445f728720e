#include "boxes/videocodecs/av1_configuration_box.h"

#include <initializer_list>
#include <utility>

#include "base/log.h"

namespace {
using Fields = std::initializer_list<std::pair<uint32_t*, uint32_t>>;

// Reads each field in turn; -1 when the bytes end first.
int ReadFields(CBitStreamReader& reader, Fields fields) {
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return 0;
}

// Reads `bits` bits (up to 32) without noting them: parts of a field noted whole.
int TakeBits(CBitStreamReader& reader, uint32_t bits, uint32_t& out) {
    if (reader.PeekBits(bits, out) < 0) return -1;
    reader.SkipBits(bits);
    return 0;
}

// An unsigned Exp-Golomb code (uvlc); 32 leading zeros or more read as 2^32 - 1.
int ReadUvlc(CBitStreamReader& reader, uint32_t& out) {
    const uint64_t start = reader.FileBit();
    uint32_t leadingZeros = 0, bit = 0;
    for (;;) {
        if (TakeBits(reader, 1, bit) < 0) return -1;
        if (bit) break;
        ++leadingZeros;
    }
    uint32_t value = 0;
    if (leadingZeros >= 32) {
        out = 0xFFFFFFFF;
    } else {
        if (leadingZeros && TakeBits(reader, leadingZeros, value) < 0) return -1;
        out = value + ((1u << leadingZeros) - 1);
    }
    reader.NoteSince(&out, start);
    return 0;
}

// A leb128 number of at most 8 bytes; -1 past that or past the bytes.
int ReadLeb128(CBitStreamReader& reader, uint64_t& out) {
    const uint64_t start = reader.FileBit();
    out = 0;
    for (int i = 0; i < 8; ++i) {
        uint32_t byte = 0;
        if (TakeBits(reader, 8, byte) < 0) return -1;
        out |= uint64_t{byte & 0x7F} << (7 * i);
        if (!(byte & 0x80)) {
            reader.NoteSince(&out, start);
            return 0;
        }
    }
    return -1;
}

constexpr uint32_t kSequenceHeaderObu = 1;
constexpr uint32_t kSelect = 2;  // seq_force_* chosen per frame
}  // namespace

int Av1SequenceHeader::Parse(CBitStreamReader& r) {
    if (ReadFields(r, {{&m_seqProfile, 3}, {&m_stillPicture, 1}, {&m_reducedStillPictureHeader, 1}}) < 0) return -1;
    // Up to 32 operating points; reserved so that their fields keep their addresses.
    m_operatingPoints.reserve(32);
    if (m_reducedStillPictureHeader) {
        m_operatingPoints.emplace_back();
        if (r.ReadBits(5, m_operatingPoints.back().level) < 0) return -1;
    } else {
        if (r.ReadBits(1, m_timingInfoPresent) < 0) return -1;
        if (m_timingInfoPresent) {
            if (ReadFields(r, {{&m_numUnitsInDisplayTick, 32}, {&m_timeScale, 32}, {&m_equalPictureInterval, 1}}) < 0)
                return -1;
            if (m_equalPictureInterval && ReadUvlc(r, m_numTicksPerPictureMinusOne) < 0) return -1;
            if (r.ReadBits(1, m_decoderModelInfoPresent) < 0) return -1;
            if (m_decoderModelInfoPresent &&
                ReadFields(r, {{&m_bufferDelayLengthMinusOne, 5}, {&m_numUnitsInDecodingTick, 32},
                               {&m_bufferRemovalTimeLengthMinusOne, 5}, {&m_framePresentationTimeLengthMinusOne, 5}}) < 0)
                return -1;
        }
        if (ReadFields(r, {{&m_initialDisplayDelayPresent, 1}, {&m_operatingPointsCountMinusOne, 5}}) < 0) return -1;
        for (uint32_t i = 0; i <= m_operatingPointsCountMinusOne; ++i) {
            OperatingPoint& op = m_operatingPoints.emplace_back();
            if (ReadFields(r, {{&op.idc, 12}, {&op.level, 5}}) < 0) return -1;
            if (op.level > 7 && r.ReadBits(1, op.tier) < 0) return -1;
            if (m_decoderModelInfoPresent) {
                if (r.ReadBits(1, op.decoderModelPresent) < 0) return -1;
                const uint32_t n = m_bufferDelayLengthMinusOne + 1;
                if (op.decoderModelPresent &&
                    ReadFields(r, {{&op.decoderBufferDelay, n}, {&op.encoderBufferDelay, n}, {&op.lowDelayMode, 1}}) < 0)
                    return -1;
            }
            if (m_initialDisplayDelayPresent) {
                if (r.ReadBits(1, op.initialDisplayDelayPresent) < 0) return -1;
                if (op.initialDisplayDelayPresent && r.ReadBits(4, op.initialDisplayDelayMinusOne) < 0) return -1;
            }
        }
    }
    if (ReadFields(r, {{&m_frameWidthBitsMinusOne, 4}, {&m_frameHeightBitsMinusOne, 4}}) < 0 ||
        ReadFields(r, {{&m_maxFrameWidthMinusOne, m_frameWidthBitsMinusOne + 1},
                       {&m_maxFrameHeightMinusOne, m_frameHeightBitsMinusOne + 1}}) < 0)
        return -1;
    if (!m_reducedStillPictureHeader && r.ReadBits(1, m_frameIdNumbersPresent) < 0) return -1;
    if (m_frameIdNumbersPresent &&
        ReadFields(r, {{&m_deltaFrameIdLengthMinusTwo, 4}, {&m_additionalFrameIdLengthMinusOne, 3}}) < 0)
        return -1;
    if (ReadFields(r, {{&m_use128x128Superblock, 1}, {&m_enableFilterIntra, 1}, {&m_enableIntraEdgeFilter, 1}}) < 0)
        return -1;
    if (!m_reducedStillPictureHeader) {
        if (ReadFields(r, {{&m_enableInterintraCompound, 1}, {&m_enableMaskedCompound, 1}, {&m_enableWarpedMotion, 1},
                           {&m_enableDualFilter, 1}, {&m_enableOrderHint, 1}}) < 0)
            return -1;
        if (m_enableOrderHint && ReadFields(r, {{&m_enableJntComp, 1}, {&m_enableRefFrameMvs, 1}}) < 0) return -1;
        if (r.ReadBits(1, m_seqChooseScreenContentTools) < 0) return -1;
        if (m_seqChooseScreenContentTools) m_seqForceScreenContentTools = kSelect;
        else if (r.ReadBits(1, m_seqForceScreenContentTools) < 0) return -1;
        if (m_seqForceScreenContentTools > 0) {
            if (r.ReadBits(1, m_seqChooseIntegerMv) < 0) return -1;
            if (!m_seqChooseIntegerMv && r.ReadBits(1, m_seqForceIntegerMv) < 0) return -1;
        }
        if (m_enableOrderHint && r.ReadBits(3, m_orderHintBitsMinusOne) < 0) return -1;
    }
    if (ReadFields(r, {{&m_enableSuperres, 1}, {&m_enableCdef, 1}, {&m_enableRestoration, 1}, {&m_highBitdepth, 1}}) < 0)
        return -1;
    if (m_seqProfile == 2 && m_highBitdepth && r.ReadBits(1, m_twelveBit) < 0) return -1;
    if (m_seqProfile != 1 && r.ReadBits(1, m_monochrome) < 0) return -1;
    if (r.ReadBits(1, m_colourDescriptionPresent) < 0) return -1;
    if (m_colourDescriptionPresent &&
        ReadFields(r, {{&m_colourPrimaries, 8}, {&m_transferCharacteristics, 8}, {&m_matrixCoefficients, 8}}) < 0)
        return -1;
    if (m_monochrome) {
        m_colourRangeRead = true;
        if (r.ReadBits(1, m_colourRange) < 0) return -1;
        m_subsamplingX = m_subsamplingY = 1;
    } else if (m_colourPrimaries == 1 && m_transferCharacteristics == 13 && m_matrixCoefficients == 0) {
        // sRGB: full range and 4:4:4, nothing read.
        m_colourRange = 1;
    } else {
        m_colourRangeRead = true;
        if (r.ReadBits(1, m_colourRange) < 0) return -1;
        if (m_seqProfile == 0) {
            m_subsamplingX = m_subsamplingY = 1;
        } else if (m_seqProfile == 2) {
            if (BitDepth() == 12) {
                m_subsamplingRead = true;
                if (r.ReadBits(1, m_subsamplingX) < 0) return -1;
                if (m_subsamplingX && r.ReadBits(1, m_subsamplingY) < 0) return -1;
            } else {
                m_subsamplingX = 1;
            }
        }
        if (m_subsamplingX && m_subsamplingY) {
            m_chromaSamplePositionRead = true;
            if (r.ReadBits(2, m_chromaSamplePosition) < 0) return -1;
        }
    }
    if (!m_monochrome && r.ReadBits(1, m_separateUvDeltaQ) < 0) return -1;
    return r.ReadBits(1, m_filmGrainParamsPresent);
}

int CAV1ConfigurationBox::ParseBox(CBitStreamReader& reader) {
    if (reader.RemainingBits == 0) return 0;
    m_hasRecord = true;
    if (ReadFields(reader, {{&m_marker, 1}, {&m_version, 7}, {&m_seqProfile, 3}, {&m_seqLevelIdx0, 5},
                            {&m_seqTier0, 1}, {&m_highBitdepth, 1}, {&m_twelveBit, 1}, {&m_monochrome, 1},
                            {&m_chromaSubsamplingX, 1}, {&m_chromaSubsamplingY, 1}, {&m_chromaSamplePosition, 2},
                            {&m_reserved, 3}, {&m_initialPresentationDelayPresent, 1},
                            {&m_initialPresentationDelayMinusOne, 4}}) < 0)
        return -1;
    while (reader.RemainingBytes() > 0) {
        Av1ConfigObu& obu = m_configObus.emplace_back();
        if (ReadFields(reader, {{&obu.forbiddenBit, 1}, {&obu.type, 4}, {&obu.extensionFlag, 1},
                                {&obu.hasSizeField, 1}, {&obu.reserved, 1}}) < 0 ||
            (obu.extensionFlag &&
             ReadFields(reader, {{&obu.temporalId, 3}, {&obu.spatialId, 2}, {&obu.extensionReserved, 3}}) < 0))
            return -1;
        if (!obu.hasSizeField) obu.size = reader.RemainingBytes();
        else if (ReadLeb128(reader, obu.size) < 0) return -1;
        if (obu.size > reader.RemainingBytes()) {
            CORVEL_LOG("[CAV1ConfigurationBox::ParseBox] OBU size %llu past the box",
                       static_cast<unsigned long long>(obu.size));
            return -1;
        }
        CBitStreamReader payload = reader.SubReader(obu.size);
        reader.SkipBits(obu.size * 8);
        if (obu.type == kSequenceHeaderObu) {
            obu.sequenceHeader = std::make_unique<Av1SequenceHeader>();
            if (obu.sequenceHeader->Parse(payload) < 0) return -1;
        }
        // Trailing bits, or a payload not decoded.
        if (payload.RemainingBits) payload.SkipRest(&obu.payload);
    }
    return 0;
}

const Av1SequenceHeader* CAV1ConfigurationBox::SequenceHeader() const {
    for (const Av1ConfigObu& obu : m_configObus)
        if (obu.sequenceHeader) return obu.sequenceHeader.get();
    return nullptr;
}
