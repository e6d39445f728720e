#include "boxes/descriptors/hevc_configuration.h"

#include "base/log.h"
#include "boxes/descriptors/base_descriptor.h"
#include "boxes/sampletable/table_reader.h"

int CHEVCDecoderConfigurationRecord::Parse(CBitStreamReader& reader) {
    // The bit depths come luma first, each after its 5 reserved bits.
    if (ReadLoggedFields(reader, {
            {m_configurationVersion, 8, "[CHEVCDecoderConfigurationRecord] Version :(%ld)"},
            {m_generalProfileSpace, 2, "[CHEVCDecoderConfigurationRecord] profile_space :(%ld)"},
            {m_generalTierFlag, 1, "[CHEVCDecoderConfigurationRecord] tier_flag :(%ld)"},
            {m_generalProfileIdc, 5, "[CHEVCDecoderConfigurationRecord] profile_idc :(0x%lx)"},
            {m_generalProfileCompatibilityFlags, 32, "[CHEVCDecoderConfigurationRecord] profile_compatibility_indications :(0x%lx)"},
            {m_progressiveSourceFlag, 1},
            {m_interlacedSourceFlag, 1},
            {m_nonPackedConstraintFlag, 1},
            {m_frameOnlyConstraintFlag, 1},
        }) < 0 ||
        reader.ReadBits(44, m_constraintIndicatorFlags) < 0)
        return -1;
    if (ReadLoggedFields(reader, {
            {m_generalLevelIdc, 8, "[CHEVCDecoderConfigurationRecord] level_idc :(%ld)"},
            {m_reserved4, 4, "[CHEVCDecoderConfigurationRecord] reserved :(0x%lx)"},
            {m_minSpatialSegmentationIdc, 12, "[CHEVCDecoderConfigurationRecord] min_spatial_segmentation_idc :(%ld)"},
            {m_reserved6, 6},
            {m_parallelismType, 2, "[CHEVCDecoderConfigurationRecord] parallelism_type :(%ld)"},
            {m_reserved6b, 6, "[CHEVCDecoderConfigurationRecord] reserved :(%ld)"},
            {m_chromaFormat, 2, "[CHEVCDecoderConfigurationRecord] chromaFormat :(%ld)"},
            {m_reserved5, 5},
            {m_bitDepthLumaMinus8, 3, "[CHEVCDecoderConfigurationRecord] bitDepthLumaMinux8 :(%ld)"},
            {m_reserved5b, 5},
            {m_bitDepthChromaMinus8, 3, "[CHEVCDecoderConfigurationRecord] bitDepthChromaMinux8 :(%ld)"},
            {m_avgFrameRate, 16, "[CHEVCDecoderConfigurationRecord] avgFrameRate :(%ld)"},
            {m_constantFrameRate, 2, "[CHEVCDecoderConfigurationRecord] constantFrameRate :(%ld)"},
            {m_numTemporalLayers, 3, "[CHEVCDecoderConfigurationRecord] numTemporalLayers :(%ld)"},
            {m_temporalIdNested, 1, "[CHEVCDecoderConfigurationRecord] temporalIdNested :(%ld)"},
            {m_lengthSizeMinusOne, 2, "[CHEVCDecoderConfigurationRecord] lengthSizeMinusOne :(%ld)"},
            {m_numOfArrays, 8},
        }) < 0)
        return -1;

    // Each array takes at least its 3 header bytes: the count reserves no more than that.
    const uint64_t fit = RecordsThatFit(reader, m_numOfArrays, 3);
    m_arrays.reserve(fit);
    for (uint32_t i = 0; i < m_numOfArrays; ++i) {
        if (i >= fit) return -1;
        NalArray& array = m_arrays.emplace_back();
        if (reader.ReadBits(1, array.arrayCompleteness) < 0 || reader.ReadBits(1, array.reserved) < 0 ||
            reader.ReadBits(6, array.nalUnitType) < 0 || reader.ReadBits(16, array.numNalus) < 0) {
            m_arrays.pop_back();
            return -1;
        }
        CORVEL_LOG("[CHEVCDecoderConfigurationRecord] array_completeness :(%ld)", static_cast<long>(array.arrayCompleteness));
        CORVEL_LOG("[CHEVCDecoderConfigurationRecord] NAL_unit_type :(%ld)", static_cast<long>(array.nalUnitType));
        CORVEL_LOG("[CHEVCDecoderConfigurationRecord] numNalus :(%ld)", static_cast<long>(array.numNalus));
        // An array cut short stays, with the units read.
        const int status = ReadNalUnits(reader, array.numNalus, array.nalUnits);
        for (const NalUnit& unit : array.nalUnits)
            CORVEL_LOG("[CHEVCDecoderConfigurationRecord] nalUnitLength :(%ld)", static_cast<long>(unit.length));
        if (status < 0) return -1;
    }
    return 0;
}

int CHEVCConfigurationBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("hvcC")) return -1;
    m_record = std::make_unique<CHEVCDecoderConfigurationRecord>();
    return m_record->Parse(reader);
}
