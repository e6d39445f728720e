// QuickTime keyed items against ffprobe's format tags, chapters (chpl, a chapter track)
// against ffprobe's, both stored once in tests/data; and the counts a hostile file
// sets past its bytes.
#include <gtest/gtest.h>

#include "boxes/metadata/chapter_list_box.h"
#include "boxes/metadata/item_list_box.h"
#include "boxes/metadata/metadata_keys_box.h"
#include "boxes/metadata/user_data_text_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "corpus/corpus_refs.h"
#include "report/file_info.h"
#include "report/page_json.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"

namespace {
std::string DataPath(const std::string& name) { return std::string(TEST_DATA_DIR) + "/" + name; }
}  // namespace

// Each ilst item beside a keys box names its key on its page, and its text is ffprobe's
// format tag of that name.
TEST(QuickTimeMetadata, KeyedItemsEqualFfprobeFormatTags) {
    const std::pair<std::string, std::string> files[] = {
        {DataPath("qt_keys.mov"), DataPath("qt_keys.mov.ffprobe.json")},
        {CorpusPath("pub_go-mp4_sample_qt.mp4"), CorpusRef("pub_go-mp4_sample_qt.mp4", "ffprobe.json")}};
    int items = 0;
    for (const auto& [file, ref] : files) {
        const CorpusFile f(file);
        std::map<std::string, std::string> tags;
        const std::string json = ReadText(ref);
        for (const auto& m : Matches(json.substr(json.rfind("\"tags\"")), R"re("([^"]+)": "([^"]*)")re")) tags[m[0]] = m[1];
        for (const CBox* meta : f.All(FourCC("meta"))) {
            const CMetadataKeysBox* keys = KeysOf(*meta);
            const auto* ilst = dynamic_cast<const CIlstBox*>(meta->RetrieveChildBox(FourCC("ilst"), true));
            if (!keys || !ilst) continue;
            for (size_t i = 0; i < ilst->m_records.size(); ++i, ++items) {
                const CMetadataKeysBox::Key* key = keys->KeyAt(ilst->m_records[i].tagName);
                ASSERT_NE(key, nullptr);
                EXPECT_EQ(tags[key->name], ilst->m_records[i].payload) << key->name;
                EXPECT_EQ(Value(PageOf(*ilst, meta), Format("Key (item %zu)", i + 1)).find(key->name), 0u);
            }
        }
    }
    EXPECT_EQ(items, 4);
}

// corvel info's chapters from chpl are ffprobe's. Those of a chapter track are the
// texts MediaInfo finds at its samples: test-pod's tref/chap names the titles' track,
// then the URLs' track, whose texts ffprobe reads over the titles.
TEST(QuickTimeMetadata, ChaptersEqualFfprobeAndMediaInfo) {
    for (const std::string name : {"avc_chapters.mp4", "pub_shaka_small.mp4"}) {
        SCOPED_TRACE(name);
        const FileInfo info = ReadFileInfo(CorpusFile(name).P());
        const auto ref = Matches(ReadText(DataPath(name + ".chapters.json")),
                                 R"re("start_time": "([\d.]+)"[^}]*"title": ("(?:[^"\\]|\\.)*"))re");
        ASSERT_EQ(info.chapters.size(), ref.size());
        EXPECT_EQ(info.chaptersFrom, "chpl");
        for (size_t i = 0; i < ref.size(); ++i) {
            EXPECT_NEAR(info.chapters[i].seconds, std::stod(ref[i][0]), 0.0005);
            EXPECT_EQ(JsonString(info.chapters[i].title), ref[i][1]);
        }
    }
    const FileInfo pod = ReadFileInfo(CorpusFile("pub_mp4parser_test-pod.m4a").P());
    ASSERT_EQ(pod.chapters.size(), 1u);
    EXPECT_EQ(pod.chaptersFrom, "track 1");
    const auto lines = MediaInfoLines("pub_mp4parser_test-pod.m4a");
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const InfoLine& l) {
        return l.label == "Value" && l.value == pod.chapters[0].title;
    }));
}

TEST(QuickTimeMetadata, HostileCounts) {
    // keys, chpl and a user data text counting past their bytes: what the bytes hold is
    // kept, no more reserved.
    auto keys = Failing<CMetadataKeysBox>(FullBox("keys", 0, 0, U32(0xFFFFFFFF) + U32(12) + "mdta" + "abcd"));
    EXPECT_EQ(keys->m_keys.size(), 1u);
    EXPECT_LE(keys->m_keys.capacity(), 1u);
    auto chpl = Failing<CChapterListBox>(FullBox("chpl", 1, 0, U32(0) + U8(255) + U64(0) + U8(1) + "A"));
    EXPECT_EQ(chpl->m_chapters.size(), 1u);
    EXPECT_LE(chpl->m_chapters.capacity(), 1u);
    auto text = Failing<CUserDataTextBox>(Box("\xA9" "enc", U16(1) + U16(0) + "x" + U16(0xFFFF) + U16(0) + "y"));
    EXPECT_EQ(text->m_entries.size(), 1u);
    // An item typed by a key index past the keys is told so.
    const std::string item = Box(std::string("\0\0\0\7", 4), Box("data", U32(1) + U32(0) + "v"));
    auto w = ParseFile("keys.mov", Box("moov", Box("meta", Hdlr("mdta") + FullBox("keys", 0, 0, U32(1) + U32(9) + "mdtak") +
                                                               Box("ilst", item))));
    ASSERT_EQ(w->status, 0);
    const CBox& meta = *w->Top(0)->GetChild(0);
    EXPECT_EQ(Value(PageOf(*meta.GetChild(2), &meta), "Key (item 1)"), "7 (0X00000007) past the 1 keys");
}
