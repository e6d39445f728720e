// FLV tags in the mdat of an F4F fragment on hand-built bytes: the flag rule, the tag
// loop and where it ends, codecs, AMF0 values and encryption headers the corpus lacks.
// The tags of the corpus are checked against ffprobe and the generator's values, and
// the mdat and tag pages against golden files.
#include <gtest/gtest.h>

#include <bit>

#include "boxes/containers/media_data_box.h"
#include "boxes/sampletable/parse_leaf.h"
#include "flv/flv_tag.h"
#include "flv/tag_bodies.h"
#include "report/flv_tag_page.h"
#include "report/page_test_util.h"
#include "support/cli_run.h"
#include "support/parse_file.h"

namespace {
std::string Tag(uint8_t type, uint32_t timestamp, const std::string& data, uint8_t filter = 0) {
    return U8(static_cast<uint8_t>(filter << 5 | type)) + U24(static_cast<uint32_t>(data.size())) +
           U24(timestamp & 0xFFFFFF) + U8(static_cast<uint8_t>(timestamp >> 24)) + U24(0) + data;
}
// Tags, each followed by its size.
std::string Tags(const std::vector<std::string>& tags) {
    std::string out;
    for (const std::string& t : tags) out += t + U32(static_cast<uint32_t>(t.size()));
    return out;
}
std::string Key(const std::string& s) { return U16(static_cast<uint16_t>(s.size())) + s; }
std::string Str(const std::string& s) { return U8(2) + Key(s); }
std::string Num(double v) { return U8(0) + U64(std::bit_cast<uint64_t>(v)); }
std::string Bool(bool v) { return U8(1) + U8(v); }
std::string Ecma(uint32_t count, const std::string& entries) {
    return U8(8) + U32(count) + entries + std::string("\0\0\x09", 3);
}
const std::string kAfra = FullBox("afra", 0, 0, U8(0) + U32(1000) + U32(0));

Parsed<CMediaDataBox> Mdat(const std::string& payload) { return ParseLeaf<CMediaDataBox>(Box("mdat", payload), true); }

const CScriptDataTag& Script(const CMediaDataBox& mdat, size_t i = 0) {
    return dynamic_cast<const CScriptDataTag&>(*mdat.GetTag(i)->m_body);
}
std::string TagValue(const CMediaDataBox& mdat, uint32_t k, const std::string& label) {
    return Value(BuildFlvTagPage(mdat, k, nullptr), label, true);
}
}  // namespace

TEST(FlvTags, OnlyAnMdatAfterAfraOrAbstHoldsTags) {
    const std::string audio = Tag(8, 40, U8(0x2F) + "mp3");  // MP3: no AAC packet type
    const std::string tags = Tags({Tag(18, 0, Str("onMetaData")), Tag(9, 0x01000010, U8(0x12) + "h263"), audio});
    auto file = ParseFile("f4f.f4f", Box("mdat", tags) + kAfra + Box("mdat", tags));
    ASSERT_EQ(file->status, 0);
    auto* before = dynamic_cast<const CMediaDataBox*>(file->Top(0));
    auto* after = dynamic_cast<const CMediaDataBox*>(file->Top(2));
    ASSERT_TRUE(before && after);
    EXPECT_EQ(before->GetTagCount(), 0u);
    ASSERT_EQ(after->GetTagCount(), 3u);
    EXPECT_FALSE(after->EndsInIncompleteTag());
    // A 32-bit timestamp from its extension byte; after a video tag of another codec the
    // next tag is found after its data; MP3 audio has no AAC packet type.
    EXPECT_EQ(after->GetTag(1)->Timestamp(), 0x01000010u);
    EXPECT_NE(dynamic_cast<const CAudioTagBody*>(after->GetTag(2)->m_body.get()), nullptr);

    // The audio tag page keeps the 2 of its AAC packet type and says in its last table
    // that MP3 has none; the sound type (stereo) shows there.
    const PageModel mp3 = BuildFlvTagPage(*after, 2, nullptr);
    EXPECT_EQ(TagValue(*after, 2, "AAC packet type"), "2 (0X00000002)");
    ASSERT_EQ(mp3.tables.back().title, "More fields");
    EXPECT_EQ(Value(mp3, "Sound type"), "1 (0X00000001)");
    ASSERT_EQ(mp3.tables.back().rows.size(), 2u);
    EXPECT_EQ(mp3.tables.back().rows[1].value.Plain(), "none: sound format 2 is not AAC");

    // Tag page k shows the size stored after tag k; there is no page past the last tag.
    EXPECT_EQ(TagValue(*after, 2, "Tag size"), Format("%zu (0X%08zX)", audio.size(), audio.size()));
    EXPECT_TRUE(BuildFlvTagPage(*after, 3, nullptr).tables.empty());
}

TEST(FlvTags, ScriptDataValues) {
    // onMetaData: an ECMA array of a number, a boolean, a string to escape, a date (to the
    // millisecond, 90 minutes west) and fractions.
    const std::string props = Key("duration") + Num(120) + Key("stereo") + Bool(true) + Key("encoder") + Str("<Lavf>") +
                              Key("creationdate") + U8(11) + U64(std::bit_cast<uint64_t>(1e12 + 250)) + U16(0xFFA6) +
                              Key("gain") + Num(-1.5) + Key("framerate") + Num(29.97) + Key("length") + Num(12.5);
    auto mdat = Mdat(Tags({Tag(18, 0, Str("onMetaData") + Ecma(7, props)), Tag(18, 0, Str("onCuePoint") + Num(3))}));
    const CScriptDataTag& meta = Script(*mdat.box);
    ASSERT_EQ(meta.m_second.entries.size(), 7u);
    const PageModel page = BuildFlvTagPage(*mdat.box, 0, nullptr);
    const Row* row = nullptr;
    for (const Row& r : page.tables.back().rows)
        if (r.label == "Script tag value - value") row = &r;
    ASSERT_NE(row, nullptr);
    // Numbers as the shortest text that reads back as the same double; a date as UTC with
    // its time-zone offset.
    EXPECT_EQ(row->value.Html(),
              "- duration : 120</br>- stereo : 1</br>- encoder : &lt;Lavf&gt;</br>"
              "- creationdate : 2001/09/09 01:46:40.250 UTC, time zone -01:30</br>- gain : -1.5</br>"
              "- framerate : 29.97</br>- length : 12.5</br>");
    // Any other name: no value row; numbers carry the hexadecimal of their 8 bytes, a date is UTC text.
    EXPECT_EQ(TagValue(*mdat.box, 1, "Script tag value - value"), "<no row>");
    EXPECT_EQ(Amf0ValueText(Script(*mdat.box, 1).m_second).Plain(), "3 (0X4008000000000000)");
    EXPECT_EQ(Amf0ValueText(meta.m_second.entries[3]->value).Plain(), "2001/09/09 01:46:40");

    // A null ends the decoding of its tag: what came before stays, the next tag is read.
    mdat = Mdat(Tags({Tag(18, 0, Str("onMetaData") + Ecma(3, Key("a") + Num(1) + Key("b") + U8(5) + Key("c") + Num(2))),
                      Tag(18, 0, Str("x"))}));
    ASSERT_EQ(mdat->GetTagCount(), 2u);
    EXPECT_EQ(Script(*mdat.box).m_second.entries.size(), 2u);

    // A hostile ECMA count over 10 bytes fails at once; arrays nested without end stop at a
    // bounded depth. Either way the tag stays and the tags after it are read.
    std::string nested = Num(1);
    for (int i = 0; i < 1000; ++i) nested = Ecma(1, Key("k") + nested);
    mdat = Mdat(Tags({Tag(18, 0, Str("onMetaData") + U8(8) + U32(0xFFFFFFFF) + std::string(10, '\0')),
                      Tag(18, 0, Str("deep") + nested), Tag(18, 0, Str("after"))}));
    ASSERT_EQ(mdat.status, 0);
    ASSERT_EQ(mdat->GetTagCount(), 3u);
    EXPECT_FALSE(mdat->GetTag(0)->m_dataRead);
    EXPECT_LE(Script(*mdat.box).m_second.entries.size(), 4u);
    EXPECT_FALSE(mdat->GetTag(1)->m_dataRead);
    EXPECT_EQ(Script(*mdat.box, 2).m_first.text, "after");
}

TEST(FlvTags, NegativeCompositionTimeAndEncryptedTags) {
    const std::string iv(16, '\x07');
    auto mdat = Mdat(Tags({Tag(9, 0, U8(0x27) + U8(1) + U24(0xFFFFD8) + "nal"),
                           Tag(8, 0, U8(0xAF) + U8(1) + U8(1) + std::string("Encryption") + '\0' + U24(0) + iv, 1),
                           Tag(9, 0, U8(0x12) + U8(1) + "SE" + '\0' + U24(0) + U8(0x7F) + iv, 1)}));
    ASSERT_EQ(mdat.status, 0);
    ASSERT_EQ(mdat->GetTagCount(), 3u);
    EXPECT_EQ(TagValue(*mdat.box, 0, "Composition time"), "-40 (0XFFFFFFD8)");

    // Encrypted: "Encryption" carries the vector alone; any other filter the selective
    // parameters, the vector read though the flag is 0.
    const CFLVTag& plain = *mdat->GetTag(1);
    ASSERT_TRUE(plain.m_encryptionHeader && plain.m_filterParams);
    EXPECT_FALSE(plain.m_filterParams->selective);
    EXPECT_EQ(TagValue(*mdat.box, 1, "Encryption filter params iv"),
              FormatBytesText(plain.m_filterParams->iv.data(), 16));
    const CFLVTag& selective = *mdat->GetTag(2);
    ASSERT_TRUE(selective.m_filterParams && selective.m_filterParams->selective);
    EXPECT_EQ(selective.m_filterParams->iv.size(), 16u);
    EXPECT_EQ(TagValue(*mdat.box, 2, "Encrypted au"), "0 (0X00000000)");
}

TEST(FlvTags, TheTagsEndAtOneTheMdatDoesNotHold) {
    const std::string tag = Tag(18, 0, Str("a"));
    // Data that runs past the mdat: the tags before it stay and the file still parses.
    const std::string cut = U8(18) + U24(1000) + U24(0) + U8(0) + U24(0) + "xyz";
    auto file = ParseFile("cut.f4f", kAfra + Box("mdat", Tags({tag, tag}) + cut) + Box("free", ""));
    ASSERT_EQ(file->status, 0);
    auto* mdat = dynamic_cast<const CMediaDataBox*>(file->Top(1));
    ASSERT_EQ(mdat->GetTagCount(), 2u);
    EXPECT_EQ(mdat->IncompleteTagAt(), mdat->m_startOffset + 8 + 2 * int64_t(tag.size() + 4));
    EXPECT_EQ(file->Count(), 3u);
    // corvel json says so, and still succeeds (the desktop test checks the tree's note).
    const CliRun run = RunCorvel("json " + TempDir() + "/cut.f4f");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find(Format("\"incomplete_tag\": %d,", int(mdat->IncompleteTagAt()))), std::string::npos);
    // A previous-tag-size cut short, and a header cut short.
    EXPECT_EQ(Mdat(tag + std::string(2, '\0'))->IncompleteTagAt(), int64_t(8 + tag.size()));
    EXPECT_EQ(Mdat(Tags({tag}) + std::string("\x12\x00", 2))->GetTagCount(), 1u);
    // A body that fails inside its data keeps the tags after it.
    auto broken = Mdat(Tags({Tag(18, 0, U8(2) + U16(50) + "short"), tag}));
    EXPECT_EQ(broken->GetTagCount(), 2u);
    EXPECT_FALSE(broken->EndsInIncompleteTag());
}
