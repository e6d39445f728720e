// moof, traf, mvex and mfra.
#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "base/log.h"
#include "boxes/fragments/movie_extends_boxes.h"
#include "boxes/fragments/movie_fragment_header_box.h"
#include "boxes/fragments/random_access_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/protection/protection_boxes.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "boxes/streaming/smooth_streaming_boxes.h"

namespace {
// A track fragment's sdtp counts the samples of its first trun (0 before any).
uint32_t FirstRunSampleCount(const CBox& traf) {
    const auto* trun = dynamic_cast<const CTrackRunBox*>(traf.RetrieveChildBox(FourCC("trun"), true));
    return trun ? trun->m_sampleCount : 0;
}
}  // namespace

int CMovieFragmentBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CMovieFragmentBox] box size is larger than 8bytes - %d",
                                      "[CMovieFragmentBox::ParseBox] Box parsing error",
                                      "[CMovieFragmentBox::ParseBox] unknow box type ... - %s",
                                      "[CMovieFragmentBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("mfhd"):
                LogDispatch(7, "##### Movie Fragment Header Box('mfhd')");
                return Known<CMovieFragmentHeaderBox>(h);
            case FourCC("traf"):
                LogDispatch(7, "##### Track Fragment Box('traf')");
                return Known<CTrackFragmentBox>(h);
            default:
                return ProtectionSystemChild(h);
        }
    });
}

int CMovieFragmentRandomAccessBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CMovieFragmentRandomAccessBox] box size is larger than 8bytes - %d",
                                      "[CMovieFragmentRandomAccessBox::ParseBox] Box parsing error",
                                      "[CMovieFragmentRandomAccessBox::ParseBox] unknow box type ... - %s",
                                      "[CMovieFragmentRandomAccessBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("tfra"):
                LogDispatch(7, "##### Movie Fragment Random Access Box('tfra')");
                return Known<CTrackFragmentRandomAccessbox>(h);
            case FourCC("mfro"):
                LogDispatch(7, "##### Movie Fragment Random Access Box('mfro')");
                return Known<CMovieFragmentRandomAccessOffsetBox>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CMovieExtendsBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CMovieExtendsBox::ParseBox] box size is larger than 8bytes - %d",
                                      "[CMovieExtendsBox::ParseBox] Box parsing error",
                                      "[CMovieExtendsBox::ParseBox] unknow box type ... - %s",
                                      "[CMovieExtendsBox::ParseBox] Box parsing is failed", nullptr};
    return ParseChildren(*this, reader, texts, [](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("mehd"):
                LogDispatch(7, "##### Movie Extend Header Box('mehd')");
                return Known<CMovieExtendsHeaderBox>(h);
            case FourCC("trex"):
                LogDispatch(7, "##### Track Extends Box('trex')");
                return Known<CTrackExtendsBox>(h);
            case FourCC("leva"):
                CORVEL_LOG("[CMovieExtendsBox::ParseBox] not implemented ... - %s", FourCCText(h.m_type).c_str());
                return Placeholder(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    });
}

int CTrackFragmentBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CTrackFragmentBox] box size is larger than 8bytes - %d",
                                      "[CTrackFragmentBox::ParseBox] Box parsing error",
                                      "[CTrackFragmentBox::ParseBox] unknow box type ... - %s",
                                      "[CTrackFragmentBox::ParseBox] Box parsing is failed", nullptr};
    std::vector<DeferredChild> deferred;
    int status = ParseChildren(*this, reader, texts, [this](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("tfhd"):
                LogDispatch(11, "##### Track Fragment Header Box('tfhd')");
                return Known<CTrackFragmentHeaderBox>(h);
            case FourCC("trun"):
                LogDispatch(11, "##### Track Run Box('trun')");
                return Known<CTrackRunBox>(h);
            case FourCC("tfdt"):
                LogDispatch(11, "##### Track Fragment Base Decode Time box('tfdt')");
                return Known<CTfdtBox>(h);
            case FourCC("sdtp"): {
                LogDispatch(11, "##### Sample Dependency Type Box('sdtp')");
                LogDispatch(15, "##### Sample Dependency Type Box('sdtp')");
                // Without a trun before it (or with an empty one) the sdtp waits for the loop's end.
                ChildMade made = Known<CSampleDependencyTypeBox>(h);
                const uint32_t count = FirstRunSampleCount(*this);
                if (count == 0) made.action = ChildMade::Defer;
                else static_cast<CSampleDependencyTypeBox&>(*made.box).SetSampleCount(count);
                return made;
            }
            case FourCC("sbgp"):
                LogDispatch(11, "##### Sample To Group Box('sbgp')");
                return Known<CSampletoGroupBox>(h);
            case FourCC("sgpd"):
                LogDispatch(11, "##### Sample Group Description Box('sgpd')");
                return Known<CSampleGroupDescBox>(h, 0u);  // no handler type in a fragment
            case FourCC("subs"):
                LogDispatch(11, "##### Sub Sample Information Box('subs')");
                return Known<CSubSampleInfoBox>(h);
            case FourCC("saiz"):
                return Known<CSaizBox>(h);
            case FourCC("saio"):
                LogDispatch(11, "##### Sample Auxiliary Information Offsets Box('saio')");
                return Known<CSaioBox>(h);
            case FourCC("senc"):
                return Known<CSampleEncryptionBox>(h);
            case FourCC("uuid"):
                LogDispatch(11, "##### User Extension Box('uuid')");
                return UserExtensionChild(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    }, &deferred);
    if (status < 0) return status;
    for (DeferredChild& child : deferred) {
        static_cast<CSampleDependencyTypeBox*>(child.box)->SetSampleCount(FirstRunSampleCount(*this));
        if (int s = ParseDeferred(child); s < 0) return s;
    }
    return 0;
}
