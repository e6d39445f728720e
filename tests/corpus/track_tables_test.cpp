// Per corpus track: the sample counts (stsz, the sum of stts), the mdhd time scale and
// duration and the tkhd size, against MediaInfo's field dump, or ffprobe's streams
// where MediaInfo's dump was left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <typeinfo>

#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "corpus/corpus_refs.h"
#include "report/format.h"

namespace {
// A track's fields as MediaInfo prints them, by "box/label"; "stts/Sample Count" is the sum.
using Facts = std::map<std::string, std::string>;

// What this engine decodes for each track of the first moov.
std::vector<Facts> Decoded(const CorpusFile& f) {
    std::vector<Facts> tracks;
    for (const CBox* trak : f.Traks()) {
        Facts& t = tracks.emplace_back();
        if (auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Descend(trak, {"tkhd"}))) {
            t["tkhd/Track ID"] = std::to_string(tkhd->m_trackID);
            t["tkhd/Track width"] = Format("%.3f", tkhd->m_width / 65536.0);
            t["tkhd/Track height"] = Format("%.3f", tkhd->m_height / 65536.0);
        }
        if (auto* mdhd = dynamic_cast<const CMediaHeaderBox*>(Descend(trak, {"mdia", "mdhd"}))) {
            t["mdhd/Time scale"] = std::to_string(mdhd->GetTimescale());
            t["mdhd/Duration"] = std::to_string(mdhd->GetDuration());
        }
        const CBox* stbl = Descend(trak, {"mdia", "minf", "stbl"});
        if (auto* stsz = dynamic_cast<const CSampleSizeBox*>(Descend(stbl, {"stsz"})))
            t["stsz/Number of entries"] = std::to_string(stsz->GetSampleCount());
        if (auto* stts = dynamic_cast<const CTimeToSampleBox*>(Descend(stbl, {"stts"}))) {
            uint64_t sum = 0;
            for (uint32_t e = 0; e < stts->GetEntryCount(); ++e) sum += stts->RetrieveSampleCount(e);
            t["stts/Sample Count"] = std::to_string(sum);
        }
    }
    return tracks;
}

// MediaInfo's "Track" sections; a field belongs to the last box named by a "Name: code" line.
std::vector<Facts> FromMediaInfo(const std::string& name) {
    static const std::set<std::string> kKept = {"tkhd/Track ID", "tkhd/Track width", "tkhd/Track height",
                                                "mdhd/Time scale", "mdhd/Duration", "stsz/Number of entries"};
    std::vector<Facts> tracks;
    for (const auto& lines : MediaInfoSections(name, "Track")) {
        Facts& t = tracks.emplace_back();
        std::string box;
        for (const InfoLine& l : lines) {
            const std::string key = box + "/" + l.label, value = Number(l.value);
            if (l.label == "Name") box = value;
            if (key == "stts/Sample Count")
                t[key] = std::to_string((t[key].empty() ? 0 : std::stoull(t[key])) + std::stoull(value));
            else if (kKept.count(key))
                t.emplace(key, value);
        }
    }
    return tracks;
}

// ffprobe: stream "id" is the track ID; time_base is 1/timescale; nb_frames the sample count.
std::vector<Facts> FromFfprobe(const std::string& name) {
    std::vector<Facts> tracks;
    for (const auto& [id, s] : FfprobeStreams(name))
        if (s.count("time_base") && s.count("nb_frames"))
            tracks.push_back({{"tkhd/Track ID", std::to_string(id)}, {"mdhd/Time scale", s.at("time_base").substr(2)},
                              {"stsz/Number of entries", s.at("nb_frames")}, {"stts/Sample Count", s.at("nb_frames")}});
    return tracks;
}
}  // namespace

TEST(CorpusTrackTables, CountsTimesAndSizesMatchTheReferences) {
    size_t checkedTracks = 0, fields = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<Facts> ours = Decoded(f);
        if (ours.empty()) return;
        const std::vector<Facts> mediainfo = FromMediaInfo(name);
        const std::vector<Facts> refs = mediainfo.empty() ? FromFfprobe(name) : mediainfo;
        ASSERT_TRUE(mediainfo.empty() || ours.size() == refs.size()) << ours.size() << " tracks, MediaInfo shows "
                                                                      << refs.size();
        // Tracks pair by their ID, or by their order where the tool prints none; a field
        // the tool does not print is not compared.
        for (size_t i = 0; i < refs.size(); ++i) {
            const Facts& ref = refs[i];
            const std::string id = ref.count("tkhd/Track ID") ? ref.at("tkhd/Track ID") : "";
            auto track = id.empty() ? ours.begin() + i : std::find_if(ours.begin(), ours.end(), [&id](const Facts& t) {
                return t.count("tkhd/Track ID") && t.at("tkhd/Track ID") == id;
            });
            ASSERT_NE(track, ours.end()) << "track " << id;
            for (const auto& [key, value] : ref) {
                EXPECT_EQ(track->count(key) ? track->at(key) : "(none)", value) << "track " << id << " " << key;
                ++fields;
            }
            ++checkedTracks;
        }
    });
    EXPECT_GE(checkedTracks, 108u);
    EXPECT_GE(fields, 682u);
}

// Every box the presentation and sample table classes decode is theirs, not a plain box.
TEST(CorpusTrackTables, EveryPresentationAndTableBoxHasItsRows) {
    // Their codes by the parent's type (none: top level); elsewhere the same codes belong
    // to other boxes.
    static const std::map<std::string, std::string> kChildren = {
        {"", " ftyp styp pdin free skip "}, {"moov", " mvhd "}, {"trak", " tkhd "}, {"mdia", " mdhd hdlr "},
        {"minf", " vmhd smhd hmhd nmhd crhd iphd m7hd mjhd ochd odhd sdhd "},
        {"stbl", " stts ctts cslg stsc stsz stz2 stco co64 stss stsh padb subs saiz saio sdtp stdp sdep sbgp sgpd "},
        {"traf", " sbgp sgpd subs saiz saio "}};
    size_t decoded = 0;
    ForEachCorpusFile([&](const std::string&, const CorpusFile& f) {
        auto check = [&decoded](const CBox& box, const std::string& parent) {
            const std::string type = box.TypeText();
            auto it = kChildren.find(parent);
            if (it == kChildren.end() || it->second.find(" " + type + " ") == std::string::npos ||
                box.BoxSize() <= 8)
                return;
            EXPECT_TRUE(typeid(box) != typeid(CBox)) << box.TypeText() << " @" << box.m_startOffset;
            decoded += typeid(box) != typeid(CBox);
        };
        for (const CBox* top : f.Top()) check(*top, "");
        for (const CBox* box : f.All())
            for (const auto& child : box->m_children)
                if (child) check(*child, box->TypeText());
    });
    EXPECT_GE(decoded, 1175u);
}
