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
    // Each descriptor takes at least its tag and one size byte: the list is reserved for
    // what the payload can hold, and no record moves once read.
    m_descriptors.reserve(reader.PresentBytes() / 2);
    while (reader.PresentBytes() > 0) {
        Descriptor& d = m_descriptors.emplace_back();
        if (reader.ReadBits(8, d.tag) < 0) return -1;
        for (int i = 0;; ++i) {
            if (i == 4 || reader.ReadBits(8, d.sizeBytes[i]) < 0) return -1;
            d.size = d.size << 7 | (d.sizeBytes[i] & 0x7F);
            if (!(d.sizeBytes[i] & 0x80)) break;
        }
        if (d.size > reader.PresentBytes() || reader.ReadBytes(d.size, d.bytes) < 0) return -1;
    }
    return 0;
}
