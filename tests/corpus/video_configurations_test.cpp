// The video configurations of the corpus against the other tools: av1C, vpcC and colr
// fields against Bento4's dump, each stream's profile and colour description against
// ffprobe's.
#include <gtest/gtest.h>

#include "boxes/presentation/free_space_box.h"
#include "boxes/presentation/movie_header_boxes.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "boxes/videocodecs/colour_information_box.h"
#include "boxes/videocodecs/vp_configuration_box.h"
#include "corpus/corpus_refs.h"

namespace {
// A sample entry of Bento4's dump: its type and, for each box of it, the box's
// "name = value" lines.
struct BentoEntry {
    std::string type;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> boxes;
};

// The sample entries of every sample description, in dump order. A line is a box when
// it starts with "[TYPE]"; the lines after a box's own indented deeper are its fields,
// up to the next box.
std::vector<BentoEntry> BentoEntries(const std::string& dump) {
    std::vector<BentoEntry> out;
    size_t stsdIndent = std::string::npos, entryIndent = std::string::npos;
    std::vector<std::pair<std::string, std::string>>* fields = nullptr;
    for (const auto& line : Matches(dump, "([^\n]*)")) {
        const std::string& l = line[0];
        const size_t indent = l.find_first_not_of(' ');
        if (indent == std::string::npos) continue;
        const bool isBox = l[indent] == '[' && l.size() > indent + 5 && l[indent + 5] == ']';
        if (stsdIndent != std::string::npos && indent <= stsdIndent) stsdIndent = entryIndent = std::string::npos;
        if (isBox) fields = nullptr;
        if (isBox && l.compare(indent, 6, "[stsd]") == 0) {
            stsdIndent = indent;
        } else if (isBox && stsdIndent != std::string::npos) {
            if (entryIndent == std::string::npos) entryIndent = indent;
            if (indent == entryIndent) out.push_back({l.substr(indent + 1, 4), {}});
            else fields = &out.back().boxes[l.substr(indent + 1, 4)];
        } else if (fields) {
            const size_t eq = l.find(" = ");
            if (eq != std::string::npos) fields->emplace_back(l.substr(indent, eq - indent), l.substr(eq + 3));
        }
    }
    return out;
}

// Our fields by Bento4's names.
using Named = std::map<std::string, uint64_t>;
Named OurFields(const CBox& box) {
    if (auto* av1 = dynamic_cast<const CAV1ConfigurationBox*>(&box)) {
        if (!av1->m_hasRecord) return {};
        const CAV1ConfigurationBox& b = *av1;
        return {{"version", b.m_version}, {"seq_profile", b.m_seqProfile}, {"seq_level_idx_0", b.m_seqLevelIdx0},
                {"seq_tier_0", b.m_seqTier0}, {"high_bitdepth", b.m_highBitdepth}, {"twelve_bit", b.m_twelveBit},
                {"monochrome", b.m_monochrome}, {"chroma_subsampling_x", b.m_chromaSubsamplingX},
                {"chroma_subsampling_y", b.m_chromaSubsamplingY}, {"chroma_sample_position", b.m_chromaSamplePosition},
                {"initial_presentation_delay",
                 b.m_initialPresentationDelayPresent ? b.m_initialPresentationDelayMinusOne + 1 : 0}};
    }
    if (auto* vp = dynamic_cast<const CVPConfigurationBox*>(&box)) {
        const CVPConfigurationBox& b = *vp;
        return {{"profile", b.m_profile}, {"level", b.m_level}, {"bit depth", b.m_bitDepth},
                {"chroma subsampling", b.m_chromaSubsampling}, {"video full range flag", b.m_videoFullRangeFlag},
                {"colour primaries", b.m_colourPrimaries}, {"transfer characteristics", b.m_transferCharacteristics},
                {"matrix coefficients", b.m_matrixCoefficients}};
    }
    if (auto* colr = dynamic_cast<const CColourInformationBox*>(&box)) {
        const CColourInformationBox& b = *colr;
        return {{"Colour Parameter Type:", b.m_colourType}, {"Primaries Index:", b.m_colourPrimaries},
                {"Transfer Funcion Index:", b.m_transferCharacteristics}, {"Matrix Index:", b.m_matrixCoefficients},
                {"Video Full Range Flag:", b.m_fullRangeFlag}};
    }
    return {};
}

// ffmpeg's names of the ISO/IEC 23091-2 code points.
std::string FfmpegName(const char* what, uint32_t code) {
    static const std::map<std::string, std::map<uint32_t, std::string>> kNames = {
        {"color_primaries", {{1, "bt709"}, {4, "bt470m"}, {5, "bt470bg"}, {6, "smpte170m"}, {7, "smpte240m"},
                             {8, "film"}, {9, "bt2020"}, {10, "smpte428"}, {11, "smpte431"}, {12, "smpte432"}}},
        {"color_transfer", {{1, "bt709"}, {4, "gamma22"}, {5, "gamma28"}, {6, "smpte170m"}, {7, "smpte240m"},
                            {8, "linear"}, {13, "iec61966-2-1"}, {14, "bt2020-10"}, {15, "bt2020-12"},
                            {16, "smpte2084"}, {18, "arib-std-b67"}}},
        {"color_space", {{0, "gbr"}, {1, "bt709"}, {5, "bt470bg"}, {6, "smpte170m"}, {7, "smpte240m"},
                         {9, "bt2020nc"}, {10, "bt2020c"}, {14, "ictcp"}}},
        {"color_range", {{0, "tv"}, {1, "pc"}}},
    };
    const auto& names = kNames.at(what);
    return names.count(code) ? names.at(code) : "code " + std::to_string(code);
}

// A stream's colour description and profile as its first sample entry's boxes tell them.
struct Colour {
    std::map<std::string, uint32_t> codes;  // by ffprobe's key
    std::string profile;
};
Colour OurColour(const CBox& entry) {
    Colour c;
    for (const auto& child : entry.m_children) {
        if (auto* av1 = dynamic_cast<const CAV1ConfigurationBox*>(child.get()); av1 && av1->m_hasRecord) {
            static const char* const kProfiles[] = {"Main", "High", "Professional"};
            c.profile = av1->m_seqProfile < 3 ? kProfiles[av1->m_seqProfile] : "?";
            if (const Av1SequenceHeader* s = av1->SequenceHeader()) {
                if (s->m_colourDescriptionPresent)
                    c.codes = {{"color_primaries", s->m_colourPrimaries}, {"color_transfer", s->m_transferCharacteristics},
                               {"color_space", s->m_matrixCoefficients}};
                c.codes["color_range"] = s->m_colourRange;
            }
        } else if (auto* vp = dynamic_cast<const CVPConfigurationBox*>(child.get()); vp && vp->m_version == 1) {
            c.profile = "Profile " + std::to_string(vp->m_profile);
            c.codes = {{"color_primaries", vp->m_colourPrimaries}, {"color_transfer", vp->m_transferCharacteristics},
                       {"color_space", vp->m_matrixCoefficients}, {"color_range", vp->m_videoFullRangeFlag}};
        } else if (auto* colr = dynamic_cast<const CColourInformationBox*>(child.get()); colr && colr->IsNcl()) {
            c.codes = {{"color_primaries", colr->m_colourPrimaries}, {"color_transfer", colr->m_transferCharacteristics},
                       {"color_space", colr->m_matrixCoefficients}};
            if (colr->m_hasRangeByte) c.codes["color_range"] = colr->m_fullRangeFlag;
        }
    }
    return c;
}
}  // namespace

TEST(CorpusVideoConfigurations, FieldsMatchBento4) {
    std::map<std::string, int> compared;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<BentoEntry> theirs = BentoEntries(ReadText(CorpusRef(name, "bento4.txt")));
        if (theirs.empty()) return;
        std::vector<const CBox*> ours;
        for (const CBox* stsd : f.All(FourCC("stsd")))
            for (const auto& entry : stsd->m_children)
                if (!dynamic_cast<const CFreeSpaceBox*>(entry.get())) ours.push_back(entry.get());  // entries only
        ASSERT_EQ(ours.size(), theirs.size());
        for (size_t i = 0; i < ours.size(); ++i) {
            SCOPED_TRACE("entry " + std::to_string(i) + " " + theirs[i].type);
            // An entry we do not read into (a protected one, an image sequence's) has no
            // children to compare.
            if (ours[i]->m_children.empty()) continue;
            for (const char* type : {"av1C", "vpcC", "colr"}) {
                const auto it = theirs[i].boxes.find(type);
                if (it == theirs[i].boxes.end()) continue;
                const CBox* box = nullptr;
                for (const auto& child : ours[i]->m_children)
                    if (child->TypeText() == type) box = child.get();
                ASSERT_NE(box, nullptr) << type;
                const Named fields = OurFields(*box);
                for (const auto& [label, value] : it->second) {
                    if (label == "codec initialization data") continue;  // a byte list, none in the corpus
                    ASSERT_TRUE(fields.count(label)) << type << " " << label;
                    EXPECT_EQ(std::to_string(fields.at(label)), value) << type << " " << label;
                    ++compared[type];
                }
            }
        }
    });
    EXPECT_GE(compared["av1C"], 11);
    EXPECT_GE(compared["vpcC"], 7);
    EXPECT_GE(compared["colr"], 9);
}

TEST(CorpusVideoConfigurations, ProfileAndColourMatchFfprobe) {
    std::map<std::string, int> compared;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::map<uint32_t, Fields> streams = FfprobeStreams(name);
        for (const CBox* trak : f.Traks()) {
            const auto* tkhd = dynamic_cast<const CTrackHeaderBox*>(Descend(trak, {"tkhd"}));
            const CBox* stsd = Descend(trak, {"mdia", "minf", "stbl", "stsd"});
            if (!tkhd || !stsd || !stsd->GetChildCount() || !streams.count(tkhd->m_trackID)) continue;
            const Fields& s = streams.at(tkhd->m_trackID);
            const Colour ours = OurColour(*stsd->GetChild(0));
            SCOPED_TRACE("track " + std::to_string(tkhd->m_trackID));
            if (!ours.profile.empty()) {
                EXPECT_EQ(ours.profile, s.count("profile") ? s.at("profile") : "none");
                ++compared["profile"];
            }
            for (const auto& [key, code] : ours.codes) {
                // ffprobe leaves out the code 2, "not given".
                EXPECT_EQ(code == 2 ? "none" : FfmpegName(key.c_str(), code), s.count(key) ? s.at(key) : "none") << key;
                ++compared[key];
            }
        }
    });
    EXPECT_GE(compared["profile"], 2);
    for (const char* key : {"color_primaries", "color_transfer", "color_space"}) EXPECT_GE(compared[key], 4) << key;
    EXPECT_GE(compared["color_range"], 3);
}
