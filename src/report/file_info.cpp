#include "report/file_info.h"

#include <algorithm>
#include <unordered_map>

#include "boxes/audiocodecs/ac3_config_box.h"
#include "boxes/containers/corvel.h"
#include "boxes/descriptors/es_descriptor.h"
#include "boxes/metadata/chapter_list_box.h"
#include "boxes/presentation/edit_list_box.h"
#include "boxes/presentation/file_type_box.h"
#include "boxes/presentation/handler_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/presentation/track_reference_type_box.h"
#include "boxes/sampleentry/audio_sample_entries.h"
#include "boxes/sampleentry/timecode_sample_entry.h"
#include "boxes/sampleentry/visual_sample_entries.h"
#include "report/codec_string.h"
#include "report/format.h"
#include "samples/file_samples.h"
#include "samples/sample_context.h"
#include "samples/sample_lookup.h"

namespace {
template <class T>
const T* First(const CBox& root, uint32_t type) {
    std::vector<const CBox*> found;
    FindBoxes(root, type, found);
    return found.empty() ? nullptr : dynamic_cast<const T*>(found.front());
}

std::string Language(const CMediaHeaderBox& mdhd) {
    const uint32_t packed = mdhd.m_pad << 15 | mdhd.GetLanguageCode(0) << 10 | mdhd.GetLanguageCode(1) << 5 |
                            mdhd.GetLanguageCode(2);
    if (std::string mac = QuickTimeLanguageText(packed); !mac.empty()) return mac;
    std::string letters;
    for (int i = 0; i < 3; ++i) letters += char(mdhd.GetLanguageCode(i) + 0x60);
    return letters;
}

// The parameters a decoder is set up with: an AAC stream's configuration rather than its
// entry's template values, the media time scale for a rate the 16.16 field cannot hold.
void EntryParameters(const CBox& entry, TrackInfo& track) {
    if (const auto* visual = dynamic_cast<const CVisualSampleEntry*>(&entry)) {
        track.width = visual->m_width;
        track.height = visual->m_height;
    } else if (const auto* audio = dynamic_cast<const CAudioSampleEntry*>(&entry)) {
        track.channels = audio->m_channelCount;
        track.sampleRate = audio->m_sampleRate >> 16;
        if (const auto* esds = First<ESDescriptorBox>(entry, FourCC("esds")); esds && esds->AudioConfig()) {
            const CAudioSpecificConfig& asc = *esds->AudioConfig();
            if (asc.Channels()) track.channels = asc.Channels();
            if (asc.OutputSampleRate()) track.sampleRate = asc.OutputSampleRate();
        }
        if (const auto* dac3 = First<CAC3ConfigBox>(entry, FourCC("dac3"))) track.channels = dac3->Channels();
        // AMR is mono whatever the entry's template count says.
        if (entry.m_type == FourCC("samr") || entry.m_type == FourCC("sawb")) track.channels = 1;
        if (!track.sampleRate) track.sampleRate = track.timescale;
    }
}

// At most this many chapters are listed, and this many bytes of a title read.
constexpr size_t kMaxChapters = 4096;
constexpr uint64_t kMaxTitleBytes = 1024;

// The movie's chpl chapters; false when it has none.
bool ChplChapters(const CBox& moov, FileInfo& info) {
    const auto* chpl = First<CChapterListBox>(moov, FourCC("chpl"));
    if (!chpl || chpl->m_chapters.empty()) return false;
    for (const auto& c : chpl->m_chapters) {
        if (info.chapters.size() == kMaxChapters) break;
        info.chapters.push_back({double(c.startTime) / CChapterListBox::kUnitsPerSecond, c.title});
    }
    info.chaptersFrom = "chpl";
    return true;
}

// The track id the first tref/chap of the movie names; 0 when none does.
uint32_t ChapterTrackId(const CBox& moov) {
    for (const auto& trak : moov.m_children) {
        if (!trak || trak->m_type != FourCC("trak")) continue;
        const CBox* tref = trak->RetrieveChildBox(FourCC("tref"), true);
        const auto* chap = tref ? dynamic_cast<const CTrackReferenceTypeBox*>(tref->RetrieveChildBox(FourCC("chap"), true))
                                : nullptr;
        if (chap && !chap->m_trackIDs.empty()) return chap->m_trackIDs[0];
    }
    return 0;
}

// A chapter track's sample: a 16-bit length, then the title (cut to the sample and to
// kMaxTitleBytes).
std::string ChapterTitle(const CCorvel& parser, const SampleRecord& sample) {
    uint8_t head[2];
    if (sample.size < 2 || parser.ReadBytes(sample.offset, head, 2) != 2) return "";
    const uint64_t length = std::min<uint64_t>({uint64_t(head[0]) << 8 | head[1], sample.size - 2, kMaxTitleBytes});
    std::string title(length, '\0');
    title.resize(parser.ReadBytes(sample.offset + 2, reinterpret_cast<uint8_t*>(title.data()), length));
    return title;
}

TrackInfo ReadTrack(const CBox& trak, uint32_t movieTimescale) {
    TrackInfo track;
    track.boxId = trak.m_id;
    track.boxOffset = uint64_t(trak.m_startOffset);
    track.boxSize = trak.PresentSize();
    if (const auto* elst = First<CEditListBox>(trak, FourCC("elst")); elst && movieTimescale && !elst->m_edits.empty()) {
        uint64_t empty = 0, media = 0;
        bool toTheEnd = false;
        for (const auto& edit : elst->m_edits) {
            const bool isEmpty = edit.mediaTime == UINT32_MAX || edit.mediaTime == UINT64_MAX;
            (isEmpty ? empty : media) += edit.segmentDuration;
            toTheEnd = toTheEnd || (!isEmpty && edit.segmentDuration == 0);
        }
        track.emptyEditSeconds = double(empty) / movieTimescale;
        track.mediaEditSeconds = toTheEnd ? -1 : double(media) / movieTimescale;
    }
    if (const auto* tkhd = First<CTrackHeaderBox>(trak, FourCC("tkhd"))) track.id = tkhd->m_trackID;
    if (const auto* hdlr = First<CHandlerBox>(trak, FourCC("hdlr"))) track.handler = hdlr->m_handlerType;
    if (const auto* mdhd = First<CMediaHeaderBox>(trak, FourCC("mdhd"))) {
        track.timescale = mdhd->m_timescale;
        track.duration = mdhd->m_duration;
        track.language = Language(*mdhd);
    }
    if (const CBox* stsd = First<CBox>(trak, FourCC("stsd")); stsd && !stsd->m_children.empty() &&
                                                             stsd->m_children[0]) {
        const CBox& entry = *stsd->m_children[0];
        track.codec = CodecString(entry);
        EntryParameters(entry, track);
        track.timecodeEntry = dynamic_cast<const CTimecodeSampleEntry*>(&entry);
    }
    return track;
}
}  // namespace

double TrackInfo::Seconds() const {
    const double media = timescale ? double(duration) / timescale : 0;
    if (emptyEditSeconds < 0) return media;
    return emptyEditSeconds + (mediaEditSeconds < 0 ? media : std::min(media, mediaEditSeconds));
}

uint64_t TrackInfo::BitRate() const {
    if (!duration || !timescale) return 0;
    return uint64_t((unsigned __int128)bytes * 8 * timescale / duration);
}

FileInfo ReadFileInfo(const CCorvel& parser, const CCorvel* init) {
    FileInfo info;
    const CBox* moov = nullptr;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i) {
        const CBox* top = parser.GetBox(i);
        if (!top) continue;
        if (const auto* ftyp = dynamic_cast<const CFileTypeBox*>(top); ftyp && !info.hasBrands) {
            info.hasBrands = true;
            info.majorBrand = ftyp->m_majorBrand;
            info.minorVersion = ftyp->m_minorVersion;
            for (size_t b = 0; b < ftyp->GetCompatibleBrandCount(); ++b)
                info.compatibleBrands.push_back(ftyp->GetCompatibleBrand(b));
        }
        if (top->m_type == FourCC("moov") && !moov) moov = top;
        info.fragments += top->m_type == FourCC("moof");
    }
    // A media segment's tracks are those of its init segment.
    for (size_t i = 0; !moov && init && i < init->GetBoxCount(); ++i)
        if (const CBox* top = init->GetBox(i); top && top->m_type == FourCC("moov")) moov = top;
    if (!moov) return info;
    const auto* mvhd = First<CMovieHeaderBox>(*moov, FourCC("mvhd"));
    const uint32_t movieTimescale = mvhd ? mvhd->m_timescale : 0;
    std::unordered_map<uint32_t, size_t> byId;
    for (const auto& child : moov->m_children)
        if (child && child->m_type == FourCC("trak")) {
            info.tracks.push_back(ReadTrack(*child, movieTimescale));
            byId.emplace(info.tracks.back().id, info.tracks.size() - 1);
        }
    const uint32_t chapterTrack = ChplChapters(*moov, info) ? 0 : ChapterTrackId(*moov);
    // The samples' durations and sizes, through the sample tables and every fragment.
    std::vector<uint64_t> durations(info.tracks.size());
    const SampleContext context(parser, init);
    VisitSamples(context, nullptr, [&](const SampleOrigin& origin, const SampleRecord& sample) {
        if (auto it = byId.find(origin.trackId); it != byId.end()) {
            TrackInfo& track = info.tracks[it->second];
            if (origin.trackId == chapterTrack && track.timescale && info.chapters.size() < kMaxChapters) {
                info.chapters.push_back({double(sample.decodeTime) / track.timescale, ChapterTitle(parser, sample)});
                info.chaptersFrom = "track " + std::to_string(chapterTrack);
            }
            // A timecode track starts at its first sample's frame number (4 bytes).
            if (track.samples == 0 && track.timecodeEntry)
                track.timecode = SampleTimecode(parser, *track.timecodeEntry, sample);
            ++track.samples;
            track.bytes += sample.size;
            durations[it->second] += sample.duration;
        }
        return true;
    });
    for (size_t i = 0; i < info.tracks.size(); ++i) {
        if (info.tracks[i].samples) info.tracks[i].duration = durations[i];
        info.seconds = std::max(info.seconds, info.tracks[i].Seconds());
    }
    if (info.seconds == 0 && movieTimescale) info.seconds = double(mvhd->m_duration) / movieTimescale;
    return info;
}

std::string TrackParameters(const TrackInfo& track) {
    if (!track.timecode.empty()) return "starts " + track.timecode;
    if (track.width || track.height) return std::to_string(track.width) + "x" + std::to_string(track.height);
    if (track.channels || track.sampleRate)
        return std::to_string(track.channels) + " ch, " + std::to_string(track.sampleRate) + " Hz";
    return "";
}

ReportTable TracksTable(const FileInfo& info) {
    ReportTable table("Tracks", TableKind::List);
    table.headers = {"Track ID", "Handler", "Codec", "Parameters", "Duration", "Samples", "Bit rate", "Language"};
    for (const TrackInfo& t : info.tracks)
        table.listRows.push_back({{Text(std::to_string(t.id)), FourCCValue(t.handler), Text::FromFile(t.codec),
                                   Text(TrackParameters(t)), Text(Format("%.3f s", t.Seconds())),
                                   Text(std::to_string(t.samples)), Text(std::to_string(t.BitRate() / 1000) + " kb/s"),
                                   Text::FromFile(t.language)},
                                  Span::Bytes(t.boxOffset, t.boxSize)});
    return table;
}
