#include "boxes/sampletable/sample_group_entries.h"

#include <initializer_list>
#include <utility>

#include "base/log.h"

namespace {
// Reads fields of the given widths in order; stops at the first that fails.
int ReadFields(CBitStreamReader& reader, std::initializer_list<std::pair<uint32_t*, uint32_t>> fields) {
    for (const auto& [field, bits] : fields)
        if (reader.ReadBits(bits, *field) < 0) return -1;
    return 0;
}
}  // namespace

int CAVCSubSequenceEntry::ParseBox(CBitStreamReader& reader) {
    if (ReadFields(reader, {{&m_subSequenceIdentifier, 16}, {&m_layerNumber, 8}, {&m_durationFlag, 1},
                            {&m_avgRateFlag, 1}, {&m_reserved, 6}}) < 0)
        return -1;
    if (m_durationFlag && reader.ReadBits(32, m_duration) < 0) return -1;
    if (m_avgRateFlag &&
        ReadFields(reader, {{&m_accurateStatisticsFlag, 8}, {&m_avgBitRate, 16}, {&m_avgFrameRate, 16}}) < 0)
        return -1;
    return 0;
}

int CAVCLayerEntry::ParseBox(CBitStreamReader& reader) {
    return ReadFields(reader,
                      {{&m_layerNumber, 8}, {&m_accurateStatisticsFlag, 8}, {&m_avgBitRate, 16}, {&m_avgFrameRate, 16}});
}

int CTemproalLayerEntry::ParseBox(CBitStreamReader& reader) {
    int status = ReadFields(reader, {{&m_temporalLayerId, 8},
                                     {&m_profileSpace, 3},
                                     {&m_profileIdc, 5},
                                     {&m_constraintIndicatorFlags, 16},
                                     {&m_levelIdc, 8},
                                     {&m_profileCompatibilityIndications, 32},
                                     {&m_maxBitRate, 16},
                                     {&m_avgBitRate, 16},
                                     {&m_constantFrameRate, 8},
                                     {&m_avgFrameRate, 16}});
    CORVEL_LOG("[CTemproalLayerEntry::ParseBox] temporalLayterId: %ld", static_cast<long>(m_temporalLayerId));
    CORVEL_LOG("[CTemproalLayerEntry::ParseBox] profileSpace: %ld, profileIdc: %ld, levelIdc: %ld",
               static_cast<long>(m_profileSpace), static_cast<long>(m_profileIdc), static_cast<long>(m_levelIdc));
    CORVEL_LOG("[CTemproalLayerEntry::ParseBox] maxBitRate: %ld, avgBitRate: %ld, avgFrameRate: %ld",
               static_cast<long>(m_maxBitRate), static_cast<long>(m_avgBitRate), static_cast<long>(m_avgFrameRate));
    return status;
}
