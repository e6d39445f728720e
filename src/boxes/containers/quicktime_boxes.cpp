// The QuickTime containers of a track: gmhd (and the tmcd inside it), tapt.
#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "boxes/presentation/generic_media_info_box.h"
#include "boxes/presentation/text_media_info_box.h"
#include "boxes/presentation/timecode_media_info_box.h"
#include "boxes/presentation/track_aperture_dimensions_box.h"

int CGenericMediaHeaderBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CGenericMediaHeaderBox] box size is larger than 8bytes - %d",
                                      "[CGenericMediaHeaderBox::ParseBox] Box parsing error",
                                      "[CGenericMediaHeaderBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("gmin"):
                return Known<CGenericMediaInfoBox>(h);
            case FourCC("text"):
                return Known<CTextMediaInfoBox>(h);
            case FourCC("tmcd"):
                return Known<CTimecodeMediaBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CTimecodeMediaBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CTimecodeMediaBox] box size is larger than 8bytes - %d",
                                      "[CTimecodeMediaBox::ParseBox] Box parsing error",
                                      "[CTimecodeMediaBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        if (h.m_type == FourCC("tcmi")) return Known<CTimecodeMediaInfoBox>(h);
        return FreeSpaceOrUnknown(h);
    });
}

int CTrackApertureBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CTrackApertureBox] box size is larger than 8bytes - %d",
                                      "[CTrackApertureBox::ParseBox] Box parsing error",
                                      "[CTrackApertureBox::ParseBox] unknow box type ... - %s", nullptr, nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("clef"):
            case FourCC("prof"):
            case FourCC("enof"):
                return Known<CTrackApertureDimensionsBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}
