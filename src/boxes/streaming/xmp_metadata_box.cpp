#include "boxes/streaming/xmp_metadata_box.h"

#include "base/log.h"

int CXMPMetadataBox::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBytes(reader.PresentBytes(), m_xmp) < 0) return -1;
    CORVEL_LOG("[CXMPMetadataBox::ParseBox] XMPMetadata: %s", m_xmp.c_str());
    return 0;
}
