// The items of the corpus's image files: their properties against MediaInfo's and
// ffprobe's, their associations and extents, and hostile changes to their boxes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "boxes/containers/containers.h"
#include "boxes/items/image_spatial_extents_box.h"
#include "boxes/items/item_property_association_box.h"
#include "boxes/items/item_reference_type_box.h"
#include "boxes/items/pixel_information_box.h"
#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/videocodecs/av1_configuration_box.h"
#include "corpus/corpus_refs.h"
#include "report/item_list.h"
#include "support/box_builder.h"
#include "support/cli_run.h"

namespace {
const char* const kImageFiles[] = {"modern_animated.avif", "pub_mp4parse-rust_valid.avif",
                                   "pub_mp4parse-rust_valid-alpha.avif", "pub_mp4parse-rust_multiple-extents.avif"};

// The values of every MediaInfo line labelled `label`, in file order.
std::vector<std::string> MediaInfoValues(const std::string& name, const std::string& label) {
    std::vector<std::string> out;
    for (const InfoLine& l : MediaInfoLines(name))
        if (l.label == label) out.push_back(Number(l.value));
    return out;
}

std::vector<std::string> Numbers(const std::vector<uint32_t>& values) {
    std::vector<std::string> out;
    for (uint32_t v : values) out.push_back(std::to_string(v));
    return out;
}

// A corpus file with the bytes at `offset` replaced, as a file of the test's own.
std::string Changed(const std::string& name, size_t offset, const std::string& bytes) {
    std::string data = ReadText(CorpusPath(name));
    EXPECT_LE(offset + bytes.size(), data.size());
    data.replace(offset, bytes.size(), bytes);
    return WriteTempFile("changed_" + name, data);
}

// Every page of the file builds; the items of each meta are summarized.
std::vector<ItemSummary> ItemsAndPages(const CorpusFile& f) {
    ForEachPage(f, [](const CBox&, const CBox*, const PageModel&) {});
    std::vector<ItemSummary> items;
    for (const CBox* meta : f.All(FourCC("meta"))) {
        auto more = SummarizeItems(*meta, uint64_t(f.P().FileSize()));
        items.insert(items.end(), more.begin(), more.end());
    }
    return items;
}
}  // namespace

TEST(ImageItems, PropertiesEqualMediaInfo) {
    for (const char* name : kImageFiles) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        std::vector<uint32_t> widths, heights, channels, bits, profiles, levels;
        for (const auto* ispe : f.All<CImageSpatialExtentsBox>()) {
            widths.push_back(ispe->m_imageWidth);
            heights.push_back(ispe->m_imageHeight);
        }
        for (const auto* pixi : f.All<CPixelInformationBox>()) {
            channels.push_back(pixi->m_numChannels);
            bits.insert(bits.end(), pixi->m_bitsPerChannel.begin(), pixi->m_bitsPerChannel.end());
        }
        for (const auto* ipco : f.All<CItemPropertyContainerBox>())
            for (const auto* av1c : BoxesUnder<CAV1ConfigurationBox>({ipco})) {
                profiles.push_back(av1c->m_seqProfile);
                levels.push_back(av1c->m_seqLevelIdx0);
            }
        EXPECT_FALSE(widths.empty());
        EXPECT_EQ(Numbers(widths), MediaInfoValues(name, "image_width"));
        EXPECT_EQ(Numbers(heights), MediaInfoValues(name, "image_height"));
        EXPECT_EQ(Numbers(channels), MediaInfoValues(name, "num_channels"));
        EXPECT_EQ(Numbers(bits), MediaInfoValues(name, "bits_per_channel"));
        // The item properties come first in these files (meta before any moov); a
        // section's first profile and level are its record's (its OBUs may repeat them).
        const auto sections = MediaInfoSections(name, "AV1CodecConfigurationRecord");
        ASSERT_GE(sections.size(), profiles.size());
        for (size_t i = 0; i < profiles.size(); ++i) {
            auto first = [&](const char* label) {
                for (const InfoLine& l : sections[i])
                    if (l.label == label) return Number(l.value);
                return std::string();
            };
            EXPECT_EQ(std::to_string(profiles[i]), first("seq_profile"));
            EXPECT_EQ(std::to_string(levels[i]), first("seq_level_idx_0"));
        }
    }
}

// ffprobe's first stream is the primary image (or the track of the same picture).
TEST(ImageItems, PrimaryImageEqualsFfprobe) {
    for (const char* name : {"modern_animated.avif", "pub_mp4parse-rust_valid.avif", "pub_mp4parse-rust_valid-alpha.avif"}) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        ASSERT_TRUE(f.Opened());
        const std::map<uint32_t, Fields> streams = FfprobeStreams(name);
        ASSERT_FALSE(streams.empty());
        const Fields& stream = streams.begin()->second;
        const CBox* ipco = Descend(f.Top()[1], {"iprp", "ipco"});
        ASSERT_NE(ipco, nullptr);
        const std::vector<ItemSummary> items = SummarizeItems(*f.Top()[1], uint64_t(f.P().FileSize()));
        auto primary = std::find_if(items.begin(), items.end(), [](const ItemSummary& s) { return s.primary; });
        ASSERT_NE(primary, items.end());
        const CImageSpatialExtentsBox* ispe = nullptr;
        const CPixelInformationBox* pixi = nullptr;
        const CAV1ConfigurationBox* av1c = nullptr;
        for (uint32_t index : primary->propertyIndexes) {
            const CBox* p = ipco->GetChild(index - 1);
            if (auto* b = dynamic_cast<const CImageSpatialExtentsBox*>(p)) ispe = b;
            if (auto* b = dynamic_cast<const CPixelInformationBox*>(p)) pixi = b;
            if (auto* b = dynamic_cast<const CAV1ConfigurationBox*>(p)) av1c = b;
        }
        ASSERT_TRUE(ispe && pixi && av1c);
        EXPECT_EQ(std::to_string(ispe->m_imageWidth), stream.at("width"));
        EXPECT_EQ(std::to_string(ispe->m_imageHeight), stream.at("height"));
        // gbrp and yuv444p: three planes of 8 bits, AV1's High profile (1).
        const std::string pixFmt = stream.at("pix_fmt");
        EXPECT_TRUE(pixFmt == "gbrp" || pixFmt == "yuv444p") << pixFmt;
        EXPECT_EQ(pixi->m_numChannels, 3u);
        for (uint32_t b : pixi->m_bitsPerChannel) EXPECT_EQ(b, 8u);
        EXPECT_EQ(av1c->m_highBitdepth, 0u);
        EXPECT_EQ(stream.at("profile"), "High");
        EXPECT_EQ(av1c->m_seqProfile, 1u);
        // ffprobe reads the primary item as its one packet: `corvel item` writes those bytes.
        const Packet packet = PacketsCsv(name).at(0);
        const CliRun item = RunCorvel("item " + CorpusPath(name) + " " + std::to_string(primary->entry->m_itemID));
        EXPECT_EQ(item.out, ReadText(CorpusPath(name)).substr(packet.pos, packet.size));
        const std::string extent = std::to_string(packet.pos) + "+" + std::to_string(packet.size);
        EXPECT_NE(RunCorvel("items " + CorpusPath(name)).out.find(extent), std::string::npos);
    }
}

// Over the whole corpus: every association names a property of the ipco, and every
// extent of a whole meta lies in the file or its idat, as MediaInfo places them.
TEST(ImageItems, AssociationsAndExtentsHold) {
    size_t items = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        for (const auto* ipma : f.All<CItemPropertyAssociationBox>()) {
            const CBox* iprp = nullptr;
            for (const CBox* candidate : f.All<CItemPropertiesBox>())
                for (const auto& child : candidate->m_children)
                    if (child.get() == ipma) iprp = candidate;
            ASSERT_NE(iprp, nullptr);
            const CBox* ipco = iprp->RetrieveChildBox(FourCC("ipco"), true);
            ASSERT_NE(ipco, nullptr);
            for (const auto& e : ipma->m_entries)
                for (const auto& a : e.associations) {
                    EXPECT_GE(a.index, 1u);
                    EXPECT_LE(a.index, ipco->GetChildCount());
                }
        }
        for (const CBox* meta : f.All(FourCC("meta"))) {
            if (meta->IsTruncated()) continue;
            for (const ItemSummary& s : SummarizeItems(*meta, uint64_t(f.P().FileSize()))) {
                ++items;
                for (const ItemExtent& x : s.extentList) EXPECT_TRUE(x.inside) << s.extents;
            }
        }
        // MediaInfo's extents are item-relative offsets and lengths in file order.
        const std::vector<std::string> offsets = MediaInfoValues(name, "extent_offset");
        if (offsets.empty() || name.find(".avif") == std::string::npos) return;
        std::vector<uint32_t> ours, lengths;
        for (const auto* iloc : f.All<CItemLocationBox>())
            for (const auto& item : iloc->m_items)
                for (const auto& e : item.extents) {
                    ours.push_back(uint32_t(e.offset));
                    lengths.push_back(uint32_t(e.length));
                }
        EXPECT_EQ(Numbers(ours), offsets);
        EXPECT_EQ(Numbers(lengths), MediaInfoValues(name, "extent_length"));
    });
    EXPECT_GE(items, 6u);
}

// pub_mp4parse-rust_valid.avif: ipma at 0x13D..., its first association byte set to 127.
TEST(ImageItemsHostile, IpmaIndexPastIpco) {
    const std::string name = "pub_mp4parse-rust_valid.avif";
    const CorpusFile original(name);
    const auto ipma = original.All<CItemPropertyAssociationBox>();
    ASSERT_EQ(ipma.size(), 1u);
    // version/flags 4, entry count 4, item id 2, association count 1: then the first index.
    const size_t at = size_t(ipma[0]->m_startOffset) + 8 + 4 + 4 + 2 + 1;
    const CorpusFile f(Changed(name, at, U8(0x7F)));
    ASSERT_TRUE(f.Opened());
    const std::vector<ItemSummary> items = ItemsAndPages(f);
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items[0].propertyIndexes.at(0), 127u);
    EXPECT_NE(items[0].properties.find("missing"), std::string::npos) << items[0].properties;
}

// pub_mp4parse-rust_valid-alpha.avif: the auxl reference's count set to 65535.
TEST(ImageItemsHostile, IrefCountPastItsBytes) {
    const std::string name = "pub_mp4parse-rust_valid-alpha.avif";
    const CorpusFile original(name);
    const auto refs = original.All<CItemReferenceTypeBox>();
    ASSERT_EQ(refs.size(), 1u);
    const size_t at = size_t(refs[0]->m_startOffset) + 8 + 2;  // after the from-item id
    const CorpusFile f(Changed(name, at, U16(0xFFFF)));
    ASSERT_TRUE(f.Opened());
    ItemsAndPages(f);
    const auto changed = f.All<CItemReferenceTypeBox>();
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0]->m_referenceCount, 0xFFFFu);
    EXPECT_LE(changed[0]->m_toItemIDs.size(), 1u);
    // The reference fails, and with it its iref and meta, as any failing child does.
    EXPECT_LT(f.status, 0);
}

// pub_mp4parse-rust_valid.avif: the item's extent length set to 0xFFFFFFF0.
TEST(ImageItemsHostile, ItemExtentsPastTheFile) {
    const std::string name = "pub_mp4parse-rust_valid.avif";
    const CorpusFile original(name);
    const auto iloc = original.All<CItemLocationBox>();
    ASSERT_EQ(iloc.size(), 1u);
    ASSERT_EQ(iloc[0]->m_version, 0u);
    ASSERT_EQ(iloc[0]->m_offsetSize, 4u);
    // sizes 2, item count 2, item id 2, data reference 2, extent count 2, offset 4: the length.
    const size_t at = size_t(iloc[0]->m_startOffset) + 12 + 2 + 2 + 2 + 2 + 2 + 4;
    const CorpusFile f(Changed(name, at, U32(0xFFFFFFF0)));
    ASSERT_TRUE(f.Opened());
    const std::vector<ItemSummary> items = ItemsAndPages(f);
    ASSERT_FALSE(items.empty());
    ASSERT_EQ(items[0].extentList.size(), 1u);
    EXPECT_FALSE(items[0].extentList[0].inside);
    EXPECT_NE(items[0].extents.find("past the end of the file"), std::string::npos);
}
