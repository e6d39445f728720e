#pragma once
#include <cstdint>
#include <string>

#include "boxes/box.h"

// hnti in a movie's udta: its child is read as the movie's RTP hint information.
class CMovieHintInformation : public CBox {
public:
    explicit CMovieHintInformation(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// rtp  below a movie's hnti: the SDP of the whole session.
class CRtpMovieHintInformation : public CBox {
public:
    explicit CRtpMovieHintInformation(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    uint32_t m_descriptionFormat = FourCC("sdp ");
    std::string m_sdpText;  // every remaining payload byte
};

// hnti in a track's udta: its child is read as the track's SDP.
class CTrackHintInformation : public CBox {
public:
    explicit CTrackHintInformation(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;
};

// sdp  below a track's hnti: the SDP lines of the track.
class CRtpTrackSdpHintInformation : public CBox {
public:
    explicit CRtpTrackSdpHintInformation(const CBox& header) : CBox(header) {}
    int ParseBox(CBitStreamReader& reader) override;

    std::string m_sdpText;  // every payload byte
};
