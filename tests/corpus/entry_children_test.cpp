// The boxes inside every sample entry of the corpus against Bento4's tree: whatever the
// entry's code, its children (and theirs) have Bento4's types and sizes, and lie one
// after the other up to the entry's end.
#include <gtest/gtest.h>

#include "boxes/presentation/free_space_box.h"
#include "corpus/corpus_refs.h"

namespace {
// Every stsd of a reference tree, in tree order.
void RefStsds(const std::vector<RefBox>& boxes, std::vector<const RefBox*>& out) {
    for (const RefBox& b : boxes) {
        if (b.type == "stsd") out.push_back(&b);
        RefStsds(b.children, out);
    }
}

// A code as Bento4 prints it: a byte that is no printable character as a dot (the
// terminator of a QuickTime wave is coded 0).
std::string Printed(const CBox& box) {
    std::string text = box.TypeText();
    for (char& c : text)
        if (c < 0x20 || c > 0x7E) c = '.';
    return text;
}

// Ours under `box` against the reference's children; counts the boxes compared.
void CompareInside(const CBox& box, const RefBox& ref, const std::string& where, int& compared) {
    if (ref.children.empty()) return;  // Bento4 does not descend into this kind
    // A protection scheme's boxes are not read yet.
    if (ref.type == "sinf") return;
    ASSERT_EQ(box.GetChildCount(), ref.children.size()) << where;
    // The children fill the box's end: each starts where the sizes after it leave room.
    int64_t end = box.m_startOffset + static_cast<int64_t>(box.BoxSize());
    for (size_t i = ref.children.size(); i-- > 0;) {
        const CBox& child = *box.GetChild(i);
        const RefBox& r = ref.children[i];
        EXPECT_EQ(Printed(child), r.type) << where;
        EXPECT_EQ(child.BoxSize(), r.size) << where << "/" << r.type;
        end -= static_cast<int64_t>(r.size);
        EXPECT_EQ(child.m_startOffset, end) << where << "/" << r.type;
        ++compared;
        CompareInside(child, r, where + "/" + r.type, compared);
    }
}
}  // namespace

TEST(CorpusEntryChildren, EveryEntrysBoxesMatchBento4) {
    int compared = 0;
    ForEachCorpusFile([&](const std::string& name, const CorpusFile& f) {
        const std::vector<RefBox> tree = ParseTree(ReadText(CorpusRef(name, "bento4.txt")), true);
        std::vector<const RefBox*> refStsds;
        RefStsds(tree, refStsds);
        const std::vector<const CBox*> ours = f.All(FourCC("stsd"));
        if (refStsds.empty()) return;
        ASSERT_EQ(ours.size(), refStsds.size());
        for (size_t i = 0; i < ours.size(); ++i) {
            // Bento4 lists the entries alone, not the free space a writer leaves after them.
            size_t entries = ours[i]->GetChildCount();
            while (entries > 0 && dynamic_cast<const CFreeSpaceBox*>(ours[i]->GetChild(entries - 1))) --entries;
            ASSERT_EQ(entries, refStsds[i]->children.size());
            for (size_t e = 0; e < entries; ++e) {
                const CBox& entry = *ours[i]->GetChild(e);
                // An entry of a layout the engine does not read (tmcd, stpp) is a plain box.
                if (typeid(entry) == typeid(CBox)) continue;
                CompareInside(entry, refStsds[i]->children[e], entry.TypeText() + " @" + std::to_string(entry.m_startOffset),
                              compared);
            }
        }
    });
    // Every modern_* entry's configuration, btrt, pasp, fiel, the QuickTime wave and chan.
    EXPECT_GE(compared, 150);
}
