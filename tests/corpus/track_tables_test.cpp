// Per corpus track: the sample counts (stsz, the sum of stts), the mdhd time scale and
// duration and the tkhd size, against MediaInfo's field dump, or ffprobe's streams
// where MediaInfo's dump was left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "boxes/containers/corvel.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include <typeinfo>
#include "report/format.h"
#include "support/corpus.h"

namespace {
// A track's fields as MediaInfo prints them, by "box/label"; "stts/Sample Count" is the sum.
using Facts = std::map<std::string, std::string>;

// What this engine decodes for each track of the first moov.
std::vector<Facts> Decoded(const CCorvel& parser) {
    std::vector<Facts> tracks;
    const CBox* moov = nullptr;
    for (size_t i = 0; !moov && i < parser.GetBoxCount(); ++i)
        if (parser.GetBox(i)->m_type == FourCC("moov")) moov = parser.GetBox(i);
    // The first box of each type along the path, or null.
    auto find = [](const CBox* from, std::initializer_list<uint32_t> path) {
        for (uint32_t type : path) from = from ? from->RetrieveChildBox(type, true) : nullptr;
        return from;
    };
    for (size_t i = 0; moov && i < moov->GetChildCount(); ++i) {
        const CBox* trak = moov->GetChild(i);
        if (trak->m_type != FourCC("trak")) continue;
        Facts& t = tracks.emplace_back();
        if (auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(find(trak, {FourCC("tkhd")}))) {
            t["tkhd/Track ID"] = std::to_string(tkhd->m_trackID);
            t["tkhd/Track width"] = Format("%.3f", tkhd->m_width / 65536.0);
            t["tkhd/Track height"] = Format("%.3f", tkhd->m_height / 65536.0);
        }
        if (auto* mdhd = dynamic_cast<const CMediaHeaderBox*>(find(trak, {FourCC("mdia"), FourCC("mdhd")}))) {
            t["mdhd/Time scale"] = std::to_string(mdhd->GetTimescale());
            t["mdhd/Duration"] = std::to_string(mdhd->GetDuration());
        }
        const CBox* stbl = find(trak, {FourCC("mdia"), FourCC("minf"), FourCC("stbl")});
        if (auto* stsz = dynamic_cast<const CSampleSizeBox*>(find(stbl, {FourCC("stsz")})))
            t["stsz/Number of entries"] = std::to_string(stsz->GetSampleCount());
        if (auto* stts = dynamic_cast<const CTimeToSampleBox*>(find(stbl, {FourCC("stts")}))) {
            uint64_t sum = 0;
            for (uint32_t e = 0; e < stts->GetEntryCount(); ++e) sum += stts->RetrieveSampleCount(e);
            t["stts/Sample Count"] = std::to_string(sum);
        }
    }
    return tracks;
}

// MediaInfo --Details=1: "OFFSET<indent>Label: value", each box opened by its "Name: code"
// line, each track by a "Track (" line. A field belongs to the last box named.
std::vector<Facts> FromMediaInfo(const std::string& text) {
    static const std::set<std::string> kKept = {"tkhd/Track ID", "tkhd/Track width", "tkhd/Track height",
                                                "mdhd/Time scale", "mdhd/Duration", "stsz/Number of entries"};
    std::vector<Facts> tracks;
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
        const std::string value = content.substr(valueStart, content.find_first_of(" \r", valueStart) - valueStart);
        const std::string key = box + "/" + content.substr(0, colon);
        if (key.ends_with("/Name")) box = value;
        if (tracks.empty()) continue;
        if (key == "stts/Sample Count") {
            std::string& sum = tracks.back()[key];
            sum = std::to_string((sum.empty() ? 0 : std::stoull(sum)) + std::stoull(value));
        } else if (kKept.count(key)) {
            tracks.back().emplace(key, value);
        }
    }
    return tracks;
}

// ffprobe: stream "id" is the track ID; time_base is 1/timescale; nb_frames the sample count.
std::vector<Facts> FromFfprobe(const std::string& json) {
    static const std::regex stream(
        R"re("id": "0x([0-9a-f]+)"[\s\S]*?"time_base": "1/(\d+)"[\s\S]*?"nb_frames": "(\d+)")re");
    std::vector<Facts> tracks;
    for (std::sregex_iterator it(json.begin(), json.end(), stream), stop; it != stop; ++it)
        tracks.push_back({{"tkhd/Track ID", std::to_string(std::stoul((*it)[1].str(), nullptr, 16))},
                          {"mdhd/Time scale", (*it)[2]},
                          {"stsz/Number of entries", (*it)[3]},
                          {"stts/Sample Count", (*it)[3]}});
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
        const std::vector<Facts> ours = Decoded(*lib.Parser());
        if (ours.empty()) continue;
        const std::string mediainfo = ReadText(CorpusRef(name, "mediainfo.txt"));
        const std::vector<Facts> refs =
            mediainfo.empty() ? FromFfprobe(ReadText(CorpusRef(name, "ffprobe.json"))) : FromMediaInfo(mediainfo);
        if (!mediainfo.empty()) {
            ASSERT_EQ(ours.size(), refs.size());
        }
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
        if (typeid(box) != typeid(CBox)) ++decoded;
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
        for (size_t i = 0; i < lib.Parser()->GetBoxCount(); ++i)
            CountDecoded(*lib.Parser()->GetBox(i), "", decoded, missed);
        EXPECT_TRUE(missed.empty()) << name << ": " << missed.front();
    }
    EXPECT_GT(decoded, 1000u);
}
