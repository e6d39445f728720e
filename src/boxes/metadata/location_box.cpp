#include "boxes/metadata/location_box.h"

#include "boxes/streaming/terminated_text.h"

int ReadTerminatedText(CBitStreamReader& reader, std::string& out) {
    uint32_t bom = 0;
    if (reader.PeekBits(16, bom) < 0 || (bom != 0xFEFF && bom != 0xFFFE)) return ReadZeroTerminated(reader, out);
    // UTF-16: count whole pairs to the zero pair, then read them as one run.
    CBitStreamReader probe(reader);
    uint64_t pairs = 0;
    bool terminated = false;
    for (uint32_t unit = 0; !terminated && probe.PeekBits(16, unit) == 0; ++pairs) {
        probe.SkipBits(16);
        terminated = unit == 0 && pairs > 0;
    }
    if (reader.ReadBytes(pairs * 2, out) < 0) return -1;
    if (terminated) out.resize(out.size() - 2);
    return 0;
}

int CLocationBox::ParseBox(CBitStreamReader& reader) {
    if (CFullBox::ParseBox(reader) < 0 || reader.ReadBits(1, m_pad) < 0) return -1;
    for (uint32_t& code : m_language)
        if (reader.ReadBits(5, code) < 0) return -1;
    if (ReadTerminatedText(reader, m_name) < 0 || reader.ReadBits(8, m_role) < 0 || reader.ReadBits(32, m_longitude) < 0 ||
        reader.ReadBits(32, m_latitude) < 0 || reader.ReadBits(32, m_altitude) < 0 || ReadTerminatedText(reader, m_body) < 0)
        return -1;
    return ReadTerminatedText(reader, m_notes);
}
