#include "boxes/metadata/hint_information_boxes.h"

#include "base/log.h"
#include "boxes/child_loop.h"

namespace {
// Whatever its type, a child of hnti is read as the hint information of its level.
template <class Child>
int ParseHintChildren(CBox& hnti, CBitStreamReader& reader) {
    static const ContainerTexts texts{};
    return ParseChildren(hnti, reader, texts, [](const CBox& h) { return Known<Child>(h); });
}
}  // namespace

int CMovieHintInformation::ParseBox(CBitStreamReader& reader) {
    return ParseHintChildren<CRtpMovieHintInformation>(*this, reader);
}

int CTrackHintInformation::ParseBox(CBitStreamReader& reader) {
    return ParseHintChildren<CRtpTrackSdpHintInformation>(*this, reader);
}

int CRtpMovieHintInformation::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBits(32, m_descriptionFormat) < 0) return -1;
    CORVEL_LOG("[CRtpMovieHintInformation::ParseBox] descriptionformat: %s", FourCCText(m_descriptionFormat).c_str());
    if (reader.ReadBytes(reader.PresentBytes(), m_sdpText) < 0) return -1;
    CORVEL_LOG("[CRtpMovieHintInformation::ParseBox] sdptext: %s", m_sdpText.c_str());
    return 0;
}

int CRtpTrackSdpHintInformation::ParseBox(CBitStreamReader& reader) {
    if (reader.ReadBytes(reader.PresentBytes(), m_sdpText) < 0) return -1;
    CORVEL_LOG("[CRtpTrackSdpHintInformation::ParseBox] sdptext: %s", m_sdpText.c_str());
    return 0;
}
