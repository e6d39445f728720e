// stbl: the sample table leaf boxes of a track.
#include <algorithm>

#include "boxes/child_loop.h"
#include "boxes/containers/containers.h"
#include "base/log.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampleentry/sample_description_box.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/padding_bits_box.h"
#include "boxes/sampletable/sample_dependency_box.h"
#include "boxes/sampletable/sample_dependency_type_box.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/subsample_info_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"

namespace {
// sdtp, sdep and stdp carry no sample count: it comes from the size box (sdtp and
// sdep: stsz, else stz2; stdp: stsz only). 0 when that box is not parsed yet.
uint32_t SampleCountFor(const CBox& stbl, uint32_t type) {
    return SampleCountOfSizeBox(stbl, /*stszOnly=*/type == FourCC("stdp"));
}

void SetSampleCount(CBox& box, uint32_t count) {
    if (auto* sdtp = dynamic_cast<CSampleDependencyTypeBox*>(&box)) sdtp->SetSampleCount(count);
    else if (auto* sdep = dynamic_cast<CSampleDependencyBox*>(&box)) sdep->SetSampleCount(count);
    else if (auto* stdp = dynamic_cast<CDegradationPriorityBox*>(&box)) stdp->SetSampleCount(count);
}

// Created with its count now, or deferred to the end of the loop when the size box
// has not come yet (or counts 0).
template <class T>
ChildMade WithSampleCount(const CBox& stbl, const CBox& h) {
    ChildMade made = Known<T>(h);
    const uint32_t count = SampleCountFor(stbl, h.m_type);
    if (count == 0) made.action = ChildMade::Defer;
    else SetSampleCount(*made.box, count);
    return made;
}

// Deferred boxes are parsed in this order: sdtp, then sdep, then stdp.
int DeferredRank(uint32_t type) { return type == FourCC("sdtp") ? 0 : type == FourCC("sdep") ? 1 : 2; }
}  // namespace

int CSampleTableBox::ParseBox(CBitStreamReader& reader) {
    static const ContainerTexts texts{"[CSampleTableBox] box size is larger than 8bytes - %d",
                                      "[CSampleTableBox::ParseBox] Box parsing error",
                                      "[CSampleTableBox::ParseBox] unknow box type ... - %s",
                                      "[CSampleTableBox::ParseBox] Box parsing is failed", nullptr};
    std::vector<DeferredChild> deferred;
    int status = ParseChildren(*this, reader, texts, [this](const CBox& h) -> ChildMade {
        switch (h.m_type) {
            case FourCC("stsd"):
                LogDispatch(15, "##### Sample Description Box('stsd')");
                return Known<CSampleDescriptionBox>(h, m_handlerType);
            case FourCC("stts"):
                LogDispatch(15, "##### Time to Sample Box('stts')");
                return Known<CTimeToSampleBox>(h);
            case FourCC("ctts"):
                LogDispatch(15, "##### Composition Offset Box('ctts')");
                return Known<CCompositionOffsetBox>(h);
            case FourCC("cslg"):
                LogDispatch(15, "##### Composition to Decode box('cslg')");
                return Known<CCompositionToDecodeBox>(h);
            case FourCC("stsc"):
                LogDispatch(15, "##### Sample to Chunk Box('stsc')");
                return Known<CSampleToChunkbox>(h);
            case FourCC("stsz"):
                LogDispatch(15, "##### Sample Size Box('stsz')");
                return Known<CSampleSizeBox>(h);
            case FourCC("stz2"):
                LogDispatch(15, "##### Compact Sample Size box('stz2')");
                return Known<CCompactSampleSizeBox>(h);
            case FourCC("stco"):
            case FourCC("co64"):
                LogDispatch(15, "##### Chunk Offset Box('%s')", FourCCText(h.m_type).c_str());
                return Known<CChunkOffsetBox>(h);
            case FourCC("stss"):
                LogDispatch(15, "##### Sync Sample Box('stss')");
                return Known<CSyncSampleBox>(h);
            case FourCC("stsh"):
                LogDispatch(15, "##### Shadow Sync Sample box('stsh')");
                return Known<CShadowSyncSampleBox>(h);
            case FourCC("padb"):
                LogDispatch(15, "##### Padding Bits box('padb')");
                return Known<CPaddingBitsBox>(h);
            case FourCC("subs"):
                LogDispatch(15, "##### Sub Sample Information Box('subs')");
                return Known<CSubSampleInfoBox>(h);
            case FourCC("saiz"):
                LogDispatch(15, "##### Sample Auxiliary Information Sizes Box('saiz')");
                return Known<CSaizBox>(h);
            case FourCC("saio"):
                LogDispatch(15, "##### Sample Auxiliary Information Offsets Box('saio')");
                return Known<CSaioBox>(h);
            case FourCC("senc"):
                return Known<CSampleEncryptionBox>(h);
            case FourCC("sdtp"):
                LogDispatch(15, "##### Sample Dependency Type Box('sdtp')");
                return WithSampleCount<CSampleDependencyTypeBox>(*this, h);
            case FourCC("stdp"):
                LogDispatch(15, "##### Degradation Priority Box('stdp')");
                return WithSampleCount<CDegradationPriorityBox>(*this, h);
            case FourCC("sdep"):
                LogDispatch(15, "##### Sample Dependency Box('sdep')");
                return WithSampleCount<CSampleDependencyBox>(*this, h);
            case FourCC("sbgp"):
                LogDispatch(15, "##### Sample To Group Box('sbgp')");
                return Known<CSampletoGroupBox>(h);
            case FourCC("sgpd"):
                LogDispatch(15, "##### Sample Group Description Box('sgpd')");
                return Known<CSampleGroupDescBox>(h, m_handlerType);
            case FourCC("avcp"):
                LogDispatch(15, "##### AVC Prarmeter Sample Entry('avcp')");
                return Known<CAVCParameterSampleEntry>(h);
            default:
                return FreeSpaceOrUnknown(h);
        }
    }, &deferred);
    if (status < 0) return status;

    // The size box has been read by now (or never will be): parse the deferred boxes with its count.
    std::stable_sort(deferred.begin(), deferred.end(), [](const DeferredChild& a, const DeferredChild& b) {
        return DeferredRank(a.box->m_type) < DeferredRank(b.box->m_type);
    });
    for (DeferredChild& child : deferred) {
        SetSampleCount(*child.box, SampleCountFor(*this, child.box->m_type));
        if (int s = ParseDeferred(child); s < 0) return s;
    }
    return 0;
}
