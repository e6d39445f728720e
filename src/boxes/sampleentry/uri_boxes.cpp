#include "boxes/sampleentry/uri_boxes.h"

int CURIBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    // A URI without its zero byte runs to the end of the box.
    reader.ReadString(m_uri);
    return 0;
}

int CURIInitBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0) return -1;
    return reader.ReadBytes(reader.PresentBytes(), m_data);
}
