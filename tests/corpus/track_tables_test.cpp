// Per corpus track: the sample counts (stsz, the sum of stts), the mdhd time scale and
// duration and the tkhd size, against MediaInfo's field dump, or ffprobe's streams
// where MediaInfo's dump was left out.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "boxes/core/corvel.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/box_rows.h"
#include "report/format.h"
#include "support/corpus.h"

namespace {
struct TrackFacts {
    uint32_t trackId = 0;
    std::optional<std::string> width, height;  // "%.3f"
    std::optional<uint64_t> timescale, duration;
    std::optional<uint64_t> sampleCount;  // stsz (MediaInfo) or nb_frames (ffprobe)
    std::optional<uint64_t> sttsSum;
};

// What this engine decodes for each track of the first moov.
std::vector<TrackFacts> Decoded(const CCorvel& parser) {
    std::vector<TrackFacts> tracks;
    const CBox* moov = nullptr;
    for (size_t i = 0; !moov && i < parser.GetBoxCount(); ++i)
        if (parser.GetBox(i)->m_type == FourCC("moov")) moov = parser.GetBox(i);
    if (!moov) return tracks;
    // The first box of each type along the path, or null.
    auto find = [](const CBox* from, std::initializer_list<uint32_t> path) {
        for (uint32_t type : path) from = from ? from->RetrieveChildBox(type, true) : nullptr;
        return from;
    };
    for (const auto& trak : moov->m_children) {
        if (trak->m_type != FourCC("trak")) continue;
        TrackFacts& t = tracks.emplace_back();
        if (auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(find(trak.get(), {FourCC("tkhd")}))) {
            t.trackId = tkhd->m_trackID;
            t.width = Format("%.3f", tkhd->m_width / 65536.0);
            t.height = Format("%.3f", tkhd->m_height / 65536.0);
        }
        if (auto* mdhd = dynamic_cast<const CMediaHeaderBox*>(find(trak.get(), {FourCC("mdia"), FourCC("mdhd")}))) {
            t.timescale = mdhd->GetTimescale();
            t.duration = mdhd->GetDuration();
        }
        const CBox* stbl = find(trak.get(), {FourCC("mdia"), FourCC("minf"), FourCC("stbl")});
        if (auto* stsz = dynamic_cast<const CSampleSizeBox*>(find(stbl, {FourCC("stsz")})))
            t.sampleCount = stsz->GetSampleCount();
        if (auto* stts = dynamic_cast<const CTimeToSampleBox*>(find(stbl, {FourCC("stts")}))) {
            t.sttsSum = 0;
            for (uint32_t e = 0; e < stts->GetEntryCount(); ++e) *t.sttsSum += stts->RetrieveSampleCount(e);
        }
    }
    return tracks;
}

// MediaInfo --Details=1: "OFFSET<indent>Label: value", each box opened by its "Name: code"
// line, each track by a "Track (" line. A field belongs to the last box named.
std::vector<TrackFacts> FromMediaInfo(const std::string& text) {
    std::vector<TrackFacts> tracks;
    std::string box;
    std::istringstream in(text);
    for (std::string s; std::getline(in, s);) {
        const size_t start = s.find_first_not_of(' ', s.find(' '));
        if (start == std::string::npos || s.find(' ') == 0) continue;
        const std::string content = s.substr(start);
        if (content.rfind("Track (", 0) == 0) tracks.emplace_back();
        const size_t colon = content.find(':');
        const size_t valueStart = content.find_first_not_of(' ', colon + 1);
        if (colon == std::string::npos || valueStart == std::string::npos) continue;
        const std::string label = content.substr(0, colon);
        const std::string value = content.substr(valueStart, content.find_first_of(" \r", valueStart) - valueStart);
        if (label == "Name") box = value;
        if (tracks.empty()) continue;
        TrackFacts& t = tracks.back();
        auto number = [&value] { return std::stoull(value); };
        if (box == "tkhd" && label == "Track ID") t.trackId = static_cast<uint32_t>(number());
        else if (box == "tkhd" && label == "Track width") t.width = value;
        else if (box == "tkhd" && label == "Track height") t.height = value;
        else if (box == "mdhd" && label == "Time scale") t.timescale = number();
        else if (box == "mdhd" && label == "Duration") t.duration = number();
        else if (box == "stts" && label == "Sample Count") t.sttsSum = t.sttsSum.value_or(0) + number();
        else if (box == "stsz" && label == "Number of entries") t.sampleCount = number();
    }
    return tracks;
}
}  // namespace

TEST(CorpusTrackTables, CountsTimesAndSizesMatchTheReferences) {
    size_t checkedTracks = 0, fields = 0;
    for (const std::string& name : CorpusFiles()) {
        SCOPED_TRACE(name);
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        const std::vector<TrackFacts> ours = Decoded(*lib.Parser());
        if (ours.empty()) continue;

        const std::string mediainfo = ReadText(CorpusRef(name, "mediainfo.txt"));
        if (!mediainfo.empty()) {
            const std::vector<TrackFacts> ref = FromMediaInfo(mediainfo);
            ASSERT_EQ(ours.size(), ref.size());
            for (size_t i = 0; i < ours.size(); ++i) {
                SCOPED_TRACE("track " + std::to_string(i + 1));
                const TrackFacts &a = ours[i], &b = ref[i];
                EXPECT_EQ(a.trackId, b.trackId);
                // A field MediaInfo does not print is not compared.
                auto same = [&fields](const auto& ours, const auto& theirs) {
                    if (!theirs) return;
                    EXPECT_EQ(ours, theirs);
                    ++fields;
                };
                same(a.width, b.width), same(a.height, b.height), same(a.timescale, b.timescale);
                same(a.duration, b.duration), same(a.sampleCount, b.sampleCount), same(a.sttsSum, b.sttsSum);
                ++checkedTracks;
            }
            continue;
        }
        // ffprobe: stream "id" is the track ID; time_base is 1/timescale; nb_frames the stsz count.
        const std::string probe = ReadText(CorpusRef(name, "ffprobe.json"));
        static const std::regex stream(R"re("id": "0x([0-9a-f]+)"[\s\S]*?"time_base": "1/(\d+)"[\s\S]*?"nb_frames": "(\d+)")re");
        for (auto it = std::sregex_iterator(probe.begin(), probe.end(), stream); it != std::sregex_iterator(); ++it) {
            const uint32_t id = static_cast<uint32_t>(std::stoul((*it)[1].str(), nullptr, 16));
            auto track = std::find_if(ours.begin(), ours.end(), [id](const TrackFacts& t) { return t.trackId == id; });
            ASSERT_NE(track, ours.end()) << "track " << id;
            EXPECT_EQ(track->timescale, std::stoull((*it)[2].str())) << "track " << id;
            EXPECT_EQ(track->sampleCount, std::stoull((*it)[3].str())) << "track " << id;
            EXPECT_EQ(track->sttsSum, track->sampleCount) << "track " << id;
            ++checkedTracks;
            fields += 3;
        }
    }
    EXPECT_GT(checkedTracks, 60u);
    EXPECT_GT(fields, 5 * checkedTracks);
}

namespace {
// The boxes decoded by the presentation and sample table classes, by their parent's type
// (none: top level); elsewhere the same codes belong to other boxes.
bool DecodedHere(const std::string& type, const std::string& parent) {
    static const std::map<std::string, std::string> kChildren = {
        {"", " ftyp styp pdin free skip "}, {"moov", " mvhd "}, {"trak", " tkhd "}, {"mdia", " mdhd hdlr "},
        {"minf", " vmhd smhd hmhd nmhd crhd iphd m7hd mjhd ochd odhd sdhd "},
        {"stbl", " stts ctts cslg stsc stsz stz2 stco co64 stss stsh padb subs saiz saio sdtp stdp sdep sbgp sgpd "},
        {"traf", " sbgp sgpd subs saiz saio "}};
    auto it = kChildren.find(parent);
    return it != kChildren.end() && it->second.find(" " + type + " ") != std::string::npos;
}

void CountDecoded(const CBox& box, const std::string& parent, size_t& decoded, std::vector<std::string>& missed) {
    if (DecodedHere(box.TypeText(), parent) && box.BoxSize() > 8) {
        PageModel page;
        if (AddPresentationRows(page, box, RowContext{}) || AddSampleTableRows(page, box, RowContext{})) ++decoded;
        else missed.push_back(box.TypeText() + " @" + std::to_string(box.m_startOffset));
    }
    for (const auto& child : box.m_children)
        if (child) CountDecoded(*child, box.TypeText(), decoded, missed);
}
}  // namespace

TEST(CorpusTrackTables, EveryPresentationAndTableBoxHasItsRows) {
    size_t decoded = 0;
    for (const std::string& name : CorpusFiles()) {
        CCorvelLib lib;
        ASSERT_EQ(lib.Init(CorpusPath(name)), 0);
        lib.Go();
        std::vector<std::string> missed;
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i) CountDecoded(*lib.Parser()->GetBox(i), "", decoded, missed);
        EXPECT_TRUE(missed.empty()) << name << ": " << missed.front();
    }
    EXPECT_GT(decoded, 1000u);
}
