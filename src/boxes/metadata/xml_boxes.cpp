#include "boxes/metadata/xml_boxes.h"

#include "base/log.h"

int CXMLBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // Without a zero byte the text runs to the end of the payload and the box fails.
    const int status = reader.ReadString(m_xml);
    CORVEL_LOG("[CXMLBox::ParseBox] xml: %s", m_xml.c_str());
    return status;
}

int CBinaryXMLBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBytes(reader.PresentBytes(), m_data);
}

int CMetaboxRelationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    if (reader.ReadBits(32, m_firstMetaboxHandlerType) < 0 || reader.ReadBits(32, m_secondMetaboxHandlerType) < 0 ||
        reader.ReadBits(8, m_metaboxRelation) < 0)
        return -1;
    CORVEL_LOG("[CMetaboxRelationBox::ParseBox] first_metabox_handler_type: %ld, second_metabox_handler_type: %ld, "
               "metabox_relation: %ld",
               static_cast<long>(m_firstMetaboxHandlerType), static_cast<long>(m_secondMetaboxHandlerType),
               static_cast<long>(m_metaboxRelation));
    return 0;
}
