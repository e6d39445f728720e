#include "boxes/descriptors/avc_configuration.h"

#include <cstdio>
#include <string>
#include <utility>

#include "base/log.h"
#include "boxes/descriptors/base_descriptor.h"
#include "boxes/sampletable/table_reader.h"

int ReadNalUnits(CBitStreamReader& reader, uint64_t count, std::vector<NalUnit>& out) {
    // Each unit takes at least its 2 length bytes: the count reserves no more than that.
    return ReadEach(reader, count, 2, out, [&reader](NalUnit& unit) {
        if (reader.ReadBits(16, unit.length) < 0) return -1;
        return reader.ReadBytes(unit.length, unit.bytes);
    });
}

void LogNalUnits(const char* lengthText, const char* bytesText, const std::vector<NalUnit>& units) {
    if (!corvel_log::g_enabled) return;
    for (const NalUnit& unit : units) {
        corvel_log::Write(lengthText, static_cast<long>(unit.length));
        std::string text;
        char byte[8];
        for (uint8_t b : unit.bytes) {
            std::snprintf(byte, sizeof byte, text.empty() ? "0x%02x" : " 0x%02x", b);
            text += byte;
        }
        corvel_log::Write(bytesText, text.c_str());
    }
}

const NalUnit* CAVCDecoderConfigurationRecord::GetSequenceParameterSet(size_t i) const {
    return i < m_sequenceParameterSets.size() ? &m_sequenceParameterSets[i] : nullptr;
}

const NalUnit* CAVCDecoderConfigurationRecord::GetPictureParameterSet(size_t i) const {
    return i < m_pictureParameterSets.size() ? &m_pictureParameterSets[i] : nullptr;
}

int CAVCDecoderConfigurationRecord::Parse(CBitStreamReader& reader) {
    if (ReadLoggedFields(reader, {
            {m_configurationVersion, 8, "[AVC Decoder Configuration Record] Version :(%ld)"},
            {m_AVCProfileIndication, 8, "[AVC Decoder Configuration Record] AVCProfileIndication :(%ld)"},
            {m_profileCompatibility, 8, "[AVC Decoder Configuration Record] profile_compatibility :(%ld)"},
            {m_AVCLevelIndication, 8, "[AVC Decoder Configuration Record] AVCLevelIndication :(%ld)"},
            {m_reserved6, 6, "[AVC Decoder Configuration Record] Reserved(6) :(%ld)"},
            {m_lengthSizeMinusOne, 2, "[AVC Decoder Configuration Record] length Size Minus One(2) :(%ld)"},
            {m_reserved3, 3, "[AVC Decoder Configuration Record] Reserved(3) :(%ld)"},
            {m_numOfSequenceParameterSets, 5, "[AVC Decoder Configuration Record] num of SPS(5) :(%ld)"},
        }) < 0)
        return -1;
    int status = ReadNalUnits(reader, m_numOfSequenceParameterSets, m_sequenceParameterSets);
    LogNalUnits("[AVC Decoder Configuration Record] SPS Length(16) :(%ld)", "[AVC Decoder Configuration Record] SPS: %s",
            m_sequenceParameterSets);
    if (status < 0 || reader.ReadBits(8, m_numOfPictureParameterSets) < 0) return -1;
    CORVEL_LOG("[AVC Decoder Configuration Record] num of PPS(8) :(%ld)", static_cast<long>(m_numOfPictureParameterSets));
    status = ReadNalUnits(reader, m_numOfPictureParameterSets, m_pictureParameterSets);
    LogNalUnits("[AVC Decoder Configuration Record] PPS Length(16) :(%ld)", "[AVC Decoder Configuration Record] PPS: %s",
            m_pictureParameterSets);
    if (status < 0) return status;
    // Profiles other than Baseline, Main and Extended add fields, which writers leave
    // out as often as not: read only when there.
    const uint32_t p = m_AVCProfileIndication;
    if (p != 66 && p != 77 && p != 88 && reader.PresentBytes() >= 4) {
        m_hasHighProfileFields = true;
        for (auto [field, bits] : {std::pair{&m_reserved6b, 6u}, {&m_chromaFormat, 2u}, {&m_reserved5a, 5u},
                                   {&m_bitDepthLumaMinus8, 3u}, {&m_reserved5b, 5u}, {&m_bitDepthChromaMinus8, 3u},
                                   {&m_numOfSequenceParameterSetExt, 8u}})
            reader.ReadBits(bits, *field);
        // Whole units only: a cut one is left for the page's undecoded bytes.
        ReadNalUnits(reader, m_numOfSequenceParameterSetExt, m_sequenceParameterSetExts);
    }
    return 0;
}

int CAVCConfigurationBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("avcC")) return -1;
    m_record = std::make_unique<CAVCDecoderConfigurationRecord>();
    return m_record->Parse(reader);
}
