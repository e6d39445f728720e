// Edit lists, item lists and item locations of the corpus against the independent
// tools' references: Bento4's dump for the edits, MediaInfo's field dump and
// AtomicParsley's tree for the iTunes items, MediaInfo for the HEIF items.
#include <gtest/gtest.h>

#include <optional>

#include "boxes/metadata/item_info_boxes.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/item_location_box.h"
#include "boxes/presentation/edit_list_box.h"
#include "corpus/corpus_refs.h"
#include "report/box_page.h"

TEST(CorpusMetadataValues, EditListsMatchBento4) {
    size_t edits = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::string dump = ReadText(CorpusRef(name, "bento4.txt"));
        if (dump.empty()) return;
        // "entry/segment duration = D", "entry/media time = T", "entry/media rate = R" per edit.
        std::vector<std::string> expected;
        for (const auto& m : Matches(dump, R"((?:^|\n)\s*entry/(segment duration|media time|media rate) = (-?\d+)\r?(?=\n|$))"))
            expected.push_back(m[0] + " " + m[1]);
        std::vector<std::string> ours;
        for (const CEditListBox* elst : f.All<CEditListBox>())
            for (uint32_t i = 0; i < elst->m_edits.size(); ++i) {
                ours.push_back("segment duration " + std::to_string(elst->GetEdit(i).segmentDuration));
                ours.push_back("media time " + std::to_string(elst->GetMediaTime(i)));
                ours.push_back("media rate " + std::to_string(elst->GetMediaRateInteger(i)));
                ++edits;
            }
        EXPECT_EQ(ours, expected);
    });
    EXPECT_GE(edits, 84u);
}

TEST(CorpusMetadataValues, ItemListsMatchMediaInfoAndAtomicParsley) {
    size_t values = 0, sizes = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<const CIlstBox*> lists = f.All<CIlstBox>();
        if (lists.empty()) return;
        // AtomicParsley: "Atom NAME @ OFFSET of size: SIZE" for every atom, the items included.
        std::map<uint64_t, std::pair<std::string, uint64_t>> atoms;
        for (const auto& m : Matches(ReadText(CorpusRef(name, "atomicparsley.txt")), R"(Atom (.{4}|\S+) @ (\d+) of size: (\d+))"))
            atoms[std::stoull(m[1])] = {m[0], std::stoull(m[2])};
        // MediaInfo: each "Element" of the ilst, its "Name", then its value lines, as this
        // engine shows the value.
        std::vector<std::pair<std::optional<std::string>, std::string>> infoItems;
        for (const auto& lines : MediaInfoSections(name, "Element")) {
            auto& [itemName, value] = infoItems.emplace_back();
            for (const InfoLine& l : lines) {
                if (l.label == "Name" && !itemName) itemName = l.value;  // the item's, not its data box's
                if (l.label == "Value") value = l.value.find(" (0x") != std::string::npos ? Number(l.value) : l.value;
                if (l.label == "Position") value = Number(l.value);
                if (l.label == "Total") value.append("/").append(Number(l.value));
                if (l.label == "Data") value = l.value.substr(1, l.value.find(' ') - 1) + " bytes";  // "(N bytes)"
            }
        }
        size_t k = 0;
        for (const CIlstBox* ilst : lists) {
            uint64_t offset = uint64_t(ilst->m_startOffset) + 8;
            const PageModel page = BuildBoxPage(*ilst, {});
            for (size_t i = 0; i < ilst->m_records.size(); ++i) {
                const CIlstBox::Record& r = ilst->m_records[i];
                const std::string shown = page.tables.at(2).listRows.at(i).cells.at(6).Plain();
                // The item and its data box as AtomicParsley finds them (it lists no items
                // of a key-indexed QuickTime list).
                // The page shows the names as the tools print them ("\xA9nam" as "©nam").
                if (atoms.count(offset)) {
                    EXPECT_EQ(atoms[offset], std::make_pair(FourCCUtf8(r.tagName), uint64_t{r.tagLength})) << offset;
                    EXPECT_EQ(page.tables.at(2).listRows.at(i).cells.at(1).Plain(), atoms[offset].first);
                    EXPECT_EQ(atoms[offset + 8], std::make_pair(FourCCUtf8(r.dataTag), uint64_t{r.dataLength}));
                    sizes += 2;
                }
                // Its value as MediaInfo reads it (text, number, position/total, byte count);
                // MediaInfo prints a key index as no name.
                if (k < infoItems.size()) {
                    const auto& [itemName, value] = infoItems[k];
                    EXPECT_TRUE(itemName->empty() || *itemName == FourCCUtf8(r.tagName)) << *itemName;
                    EXPECT_EQ(shown.substr(0, value.size()), value) << *itemName;  // nothing to compare: ""
                    values += !value.empty();
                }
                ++k;
                offset += r.tagLength;
            }
        }
        EXPECT_TRUE(infoItems.empty() || k == infoItems.size()) << k << " items, MediaInfo shows " << infoItems.size();
    });
    EXPECT_GE(values, 72u);
    EXPECT_GE(sizes, 144u);
}

TEST(CorpusMetadataValues, ItemLocationsAndTypesMatchMediaInfo) {
    size_t items = 0, types = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<const CItemLocationBox*> ilocs = f.All<CItemLocationBox>();
        if (ilocs.empty()) return;
        const uint64_t fileSize = ReadText(CorpusPath(name)).size();
        const std::vector<const CBox*> idat = f.All(FourCC("idat"));
        // MediaInfo's items: in "Item Location", the item_ID and extent lines of each item;
        // in each "Item Information Entry", item_ID, item_type and item_name (it prints
        // them for versions 2 and 3).
        std::vector<std::string> infoItems, infoTypes;
        for (const auto& lines : MediaInfoSections(name, "Item Location"))
            for (const InfoLine& l : lines) {
                if (l.label == "item_ID") infoItems.push_back(Number(l.value));
                if (l.label == "extent_offset" || l.label == "extent_length" || l.label == "base_offset" ||
                    l.label == "construction_method")
                    infoItems.back() += " " + l.label + "=" + Number(l.value);
            }
        for (const auto& lines : MediaInfoSections(name, "Item Information Entry"))
            for (const InfoLine& l : lines) {
                if (l.label == "item_ID") infoTypes.push_back(Number(l.value));
                if (l.label == "item_type" || l.label == "item_name") infoTypes.back() += " " + l.value;
            }
        std::vector<std::string> ourItems, ourTypes;
        for (const CItemLocationBox* iloc : ilocs) {
            for (const CItemLocationBox::Item& item : iloc->m_items) {
                std::string s = std::to_string(item.itemID);
                if (iloc->m_version >= 1) s += " construction_method=" + std::to_string(item.constructionMethod);
                if (iloc->m_baseOffsetSize) s += " base_offset=" + std::to_string(item.baseOffset);
                for (const CItemLocationBox::Extent& e : item.extents)
                    s += " extent_offset=" + std::to_string(e.offset) + " extent_length=" + std::to_string(e.length);
                ourItems.push_back(s);
                ++items;
                // A file that holds its iloc whole has its items' data inside it: the file's
                // bytes, or the payload of the meta's idat.
                for (const CItemLocationBox::Extent& e : item.extents) {
                    if (iloc->IsTruncated() || item.constructionMethod > 1) continue;
                    const uint64_t limit = item.constructionMethod == 0 ? fileSize : idat.at(0)->BoxSize() - 8;
                    EXPECT_LE(item.baseOffset + e.offset + e.length, limit) << "item " << item.itemID;
                }
            }
        }
        for (const CItemInfoEntry* infe : f.All<CItemInfoEntry>())
            if (infe->m_version >= 2) {
                ourTypes.push_back(std::to_string(infe->m_itemID) + " " + FourCCText(infe->m_itemType) + " " +
                                   infe->m_itemName.c_str());
                ++types;
            }
        EXPECT_EQ(ourItems, infoItems);
        // MediaInfo reads the entry count of an iinf of version 1 as 16 bits and then finds
        // no entries: only its entries are compared.
        if (!infoTypes.empty()) {
            EXPECT_EQ(ourTypes, infoTypes);
        }
    });
    EXPECT_GE(items, 8u);
    EXPECT_GE(types, 6u);
}
