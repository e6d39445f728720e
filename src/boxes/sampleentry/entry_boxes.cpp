#include "boxes/sampleentry/entry_boxes.h"

#include "base/log.h"

int CCleanAperturebox::ParseBox(CBitStreamReader& reader) {
    for (uint32_t* field : {&m_cleanApertureWidthN, &m_cleanApertureWidthD, &m_cleanApertureHeightN,
                            &m_cleanApertureHeightD, &m_horizOffN, &m_horizOffD, &m_vertOffN, &m_vertOffD})
        if (reader.ReadBits(32, *field) < 0) return -1;
    return 0;
}

int CPixelAspectRatioBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(32, m_hSpacing) < 0 || reader.ReadBits(32, m_vSpacing) < 0) return -1;
    return 0;
}

int CBitRateBox::ParseBox(CBitStreamReader& reader) {
    if (m_type != FourCC("btrt")) {
        CORVEL_LOG("[CBitRateBox::ParseBox] unsupported box type: %s", TypeText().c_str());
        return -1;
    }
    if (reader.ReadBits(32, m_bufferSizeDB) < 0 || reader.ReadBits(32, m_maxBitrate) < 0 ||
        reader.ReadBits(32, m_avgBitrate) < 0)
        return -1;
    return 0;
}

int CMPEG4ExtensionDescriptorsBox::ParseBox(CBitStreamReader& reader) {
    reader.SkipBits(reader.RemainingBits);
    return 0;
}
