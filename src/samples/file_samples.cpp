#include "samples/file_samples.h"

#include <optional>
#include <unordered_map>

#include "boxes/containers/corvel.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "samples/fragment_samples.h"
#include "samples/sample_context.h"
#include "samples/sample_encryption.h"
#include "samples/track_samples.h"

namespace {
// Where each track stands after the samples visited so far.
struct TrackState {
    uint64_t number = 0;
    uint64_t decodeTime = 0;
};

// The encryption of a traf or stbl of track `id`, when the track is protected.
std::optional<ContainerEncryption> EncryptionOf(const SampleContext& context, uint32_t id, const CBox& container,
                                                const CBox* moof = nullptr) {
    if (const TrackProtection* track = context.Protection(id))
        return ContainerEncryption(container, *track, context.Parser(), AuxInfoBase(container, moof));
    return std::nullopt;
}

uint32_t TrackIdOf(const CBox& trak) {
    auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(trak.RetrieveChildBox(FourCC("tkhd"), true));
    return tkhd ? tkhd->m_trackID : 0;
}
}  // namespace

bool VisitSamples(const SampleContext& context, const CBox* scope, const SampleVisitor& visit) {
    if (!context.Parser()) return false;
    const CCorvel& parser = *context.Parser();
    if (scope && scope->m_type != FourCC("trak") && scope->m_type != FourCC("stbl") &&
        scope->m_type != FourCC("moof") && scope->m_type != FourCC("traf"))
        return false;
    std::unordered_map<uint32_t, TrackState> tracks;
    bool firstMoov = true;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* top = parser.GetBox(i);
        if (!top || top->m_type != FourCC("moov") || !firstMoov) continue;
        firstMoov = false;
        for (const auto& trak : top->m_children) {
            if (!trak || trak->m_type != FourCC("trak")) continue;
            const uint32_t id = TrackIdOf(*trak);
            std::vector<const CBox*> stbls;
            FindBoxes(*trak, FourCC("stbl"), stbls);
            for (const CBox* stbl : stbls) {
                const TrackSamples samples(*stbl, context.FileSize());
                const bool visited = !scope || scope == trak.get() || scope == stbl;
                const auto encryption = EncryptionOf(context, id, *stbl);
                TrackSamples::Cursor cursor = samples.From(0);
                for (uint64_t k = 0; k < samples.Count(); ++k) {
                    const SampleRecord r = cursor.Next();
                    TrackState& state = tracks[id];
                    if (visited && !visit({id, 0, state.number, encryption ? &*encryption : nullptr}, r)) return true;
                    ++state.number;
                    state.decodeTime = r.decodeTime + r.duration;
                }
            }
        }
    }
    uint32_t fragment = 0;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* moof = parser.GetBox(i);
        if (!moof || moof->m_type != FourCC("moof")) continue;
        ++fragment;
        const CBox* mdat = parser.MediaDataOf(*moof);
        for (const auto& traf : moof->m_children) {
            if (!traf || traf->m_type != FourCC("traf")) continue;
            auto* tfhd = dynamic_cast<const CTrackFragmentHeaderBox*>(traf->RetrieveChildBox(FourCC("tfhd"), true));
            const uint32_t id = tfhd ? tfhd->m_trackId : 0;
            TrackState& state = tracks[id];
            const FragmentSamples samples(*traf, moof, mdat, &context, state.decodeTime);
            const bool visited = !scope || scope == moof || scope == traf.get();
            const auto encryption = EncryptionOf(context, id, *traf, moof);
            for (FragmentSamples::Cursor cursor = samples.From(0); !cursor.Done();) {
                const SampleRecord r = cursor.Next();
                if (visited && !visit({id, fragment, state.number, encryption ? &*encryption : nullptr}, r))
                    return true;
                ++state.number;
            }
            state.decodeTime = samples.EndDecodeTime();
        }
    }
    return true;
}
