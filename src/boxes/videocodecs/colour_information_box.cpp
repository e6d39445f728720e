#include "boxes/videocodecs/colour_information_box.h"

#include "boxes/sampletable/table_reader.h"

int IccProfileHeader::Parse(CBitStreamReader& reader) {
    if (reader.RemainingBytes() < 128) return -1;
    for (uint32_t* field : {&m_profileSize, &m_cmmType, &m_version, &m_deviceClass, &m_colourSpace, &m_connectionSpace})
        if (reader.ReadBits(32, *field) < 0) return -1;
    for (uint32_t& field : m_dateTime)
        if (reader.ReadBits(16, field) < 0) return -1;
    for (uint32_t* field : {&m_signature, &m_platform, &m_flags, &m_manufacturer, &m_model})
        if (reader.ReadBits(32, *field) < 0) return -1;
    if (reader.Read64(m_attributes) < 0 || reader.ReadBits(32, m_renderingIntent) < 0) return -1;
    for (uint32_t& field : m_illuminant)
        if (reader.ReadBits(32, field) < 0) return -1;
    if (reader.ReadBits(32, m_creator) < 0 || reader.ReadBytes(16, m_profileId) < 0 ||
        reader.ReadBytes(28, m_reserved) < 0)
        return -1;
    // The tag table is optional to a reader: an inspector shows what the bytes hold.
    if (reader.RemainingBytes() >= 4) {
        if (reader.ReadBits(32, m_tagCount) < 0) return -1;
        ReadEach(reader, m_tagCount, 12, m_tags, [&reader](Tag& tag) {
            if (reader.ReadBits(32, tag.signature) < 0 || reader.ReadBits(32, tag.offset) < 0) return -1;
            return reader.ReadBits(32, tag.size);
        });
    }
    if (reader.RemainingBits) reader.SkipRest(&m_tagData);
    return 0;
}

int CColourInformationBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(32, m_colourType) < 0) return -1;
    if (IsNcl()) {
        if (reader.ReadBits(16, m_colourPrimaries) < 0 || reader.ReadBits(16, m_transferCharacteristics) < 0 ||
            reader.ReadBits(16, m_matrixCoefficients) < 0)
            return -1;
        if (m_colourType == FourCC("nclx") && (reader.ReadBits(1, m_fullRangeFlag) < 0 || reader.ReadBits(7, m_reserved) < 0))
            return -1;
    } else if (m_colourType == FourCC("rICC") || m_colourType == FourCC("prof")) {
        m_icc = std::make_unique<IccProfileHeader>();
        return m_icc->Parse(reader);
    }
    return 0;
}
