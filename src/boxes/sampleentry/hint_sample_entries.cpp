#include "boxes/sampleentry/hint_sample_entries.h"

#include "base/log.h"
#include "boxes/child_loop.h"

int CHintSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0) return -1;
    if (reader.ReadBytes(reader.PresentBytes(), m_data) < 0) return -1;
    CORVEL_LOG("[CHintSampleEntry::ParseBox] data : %s", m_data.c_str());
    return 0;
}

int CRtpHintSampleEntry::ParseBox(CBitStreamReader& reader) {
    if (CSampleEntry::ParseBox(reader) < 0 || reader.ReadBits(16, m_hintTrackVersion) < 0 ||
        reader.ReadBits(16, m_highestCompatibleVersion) < 0 || reader.ReadBits(32, m_maxPacketSize) < 0)
        return -1;
    static const ContainerTexts texts{"[CRtpHintSampleEntry] box size is larger than 8bytes - %d", nullptr,
                                      "##### Rtp Hint Sample Entry Box('%s')", nullptr, nullptr,
                                      /*failOnHeader=*/true};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("tims"):
                LogDispatch(23, "##### TimeScale Entry Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CTimeScaleEntry>(h);
            case FourCC("tsro"):
                LogDispatch(23, "##### TimeOffset Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CTimeOffset>(h);
            case FourCC("snro"):
                LogDispatch(23, "##### SequenceOffset Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CSequenceOffset>(h);
            default:
                return EntryChild(h);
        }
    });
}
