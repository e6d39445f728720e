// The protection boxes of the encrypted corpus files against Bento4's dump of them, the
// PIFF uuid forms, then hostile sizes and counts made by changing corpus bytes.
#include <gtest/gtest.h>

#include <cstring>
#include <typeinfo>

#include "boxes/protection/protection_boxes.h"
#include "boxes/fragments/track_fragment_header_box.h"
#include "boxes/fragments/track_run_box.h"
#include "boxes/protection/protection_system_header_box.h"
#include "boxes/protection/sample_encryption_box.h"
#include "boxes/sampletable/aux_info_boxes.h"
#include "boxes/sampletable/sample_group_boxes.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/protection/track_encryption_box.h"
#include "boxes/sampleentry/entry_builder.h"
#include "boxes/sampletable/parse_leaf.h"
#include "boxes/sampletable/table_reader.h"
#include "boxes/streaming/user_types.h"
#include "corpus/corpus_refs.h"
#include "report/page_test_util.h"
#include "support/parse_file.h"
#include "support/span_check.h"

namespace {
const char* const kEncrypted[] = {"cenc.mp4",          "cenc_frag.mp4",         "enc_cbc1_frag.mp4",
                                  "enc_cbcs_frag.mp4", "enc_cenc_frag.mp4",     "enc_cens_frag.mp4",
                                  "enc_piff_ctr_frag.mp4", "pub_mp4parse-rust_short-cenc.mp4",
                                  "pub_mp4parse-rust_av1-clearkey-cbcs-video.mp4"};

// Bento4's "[01 ab]" form of bytes.
std::string Hex(const uint8_t* p, size_t n) {
    std::string s = "[";
    for (size_t i = 0; i < n; ++i) s += Format(i ? " %02x" : "%02x", p[i]);
    return s + "]";
}
std::string Hex(const std::vector<uint8_t>& v) { return Hex(v.data(), v.size()); }

// The "key = value" lines of each block of the dump whose header line starts with `header`.
std::vector<std::map<std::string, std::string>> Bento4Blocks(const std::string& name, const std::string& header) {
    std::vector<std::map<std::string, std::string>> blocks;
    bool inside = false;
    for (const auto& m : Matches(ReadText(CorpusRef(name, "bento4.txt")), "([^\n]*)\n")) {
        const std::string line = m[0].substr(m[0].find_first_not_of(' ') == std::string::npos
                                                 ? 0
                                                 : m[0].find_first_not_of(' '));
        if (line.starts_with("[")) {
            inside = line.starts_with(header);
            if (inside) blocks.emplace_back();
        } else if (inside && line.find(" = ") != std::string::npos) {
            blocks.back()[line.substr(0, line.find(" = "))] = line.substr(line.find(" = ") + 3);
        }
    }
    return blocks;
}

// The bytes of every box of `type` in the file (and of `userType` for a uuid), in file
// order, found by their header wherever they stand.
std::vector<std::string> BoxBytes(const std::string& file, const char* type, const uint8_t* userType = nullptr) {
    std::vector<std::string> out;
    for (size_t at = file.find(type, 4); at != std::string::npos; at = file.find(type, at + 1)) {
        const uint32_t size = Be32(reinterpret_cast<const uint8_t*>(file.data() + at - 4));
        if (size < 12 || at - 4 + size > file.size()) continue;
        if (userType && std::memcmp(file.data() + at + 4, userType, 16) != 0) continue;
        out.push_back(file.substr(at - 4, size));
    }
    return out;
}

template <class T>
std::vector<Parsed<T>> ParseAll(const std::string& name, const char* type, const uint8_t* userType = nullptr) {
    std::vector<Parsed<T>> out;
    for (std::string& bytes : BoxBytes(ReadText(CorpusPath(name)), type, userType)) {
        out.push_back(ParseLeaf<T>(std::move(bytes)));
        EXPECT_EQ(out.back().status, 0) << type;
    }
    return out;
}

void ExpectTencAsBento4(const CTrackEncryptionBox& b, std::map<std::string, std::string>& ref) {
    EXPECT_EQ(std::to_string(b.m_isProtected), ref["default_isProtected"]);
    EXPECT_EQ(std::to_string(b.m_perSampleIvSize), ref["default_Per_Sample_IV_Size"]);
    EXPECT_EQ(Hex(b.m_kid), ref["default_KID"]);
    if (b.m_version >= 1) {
        EXPECT_EQ(std::to_string(b.m_cryptByteBlock), ref["default_crypt_byte_block"]);
        EXPECT_EQ(std::to_string(b.m_skipByteBlock), ref["default_skip_byte_block"]);
    }
    if (b.HasConstantIv()) {
        EXPECT_EQ(std::to_string(b.m_constantIvSize), ref["default_constant_IV_size"]);
        EXPECT_EQ(Hex(b.m_constantIv), ref["default_constant_IV"]);
    }
}
}  // namespace

TEST(ProtectionBoxes, FieldsEqualBento4sOnTheEncryptedCorpus) {
    size_t tencs = 0, psshs = 0;
    for (const char* name : kEncrypted) {
        SCOPED_TRACE(name);
        auto tenc = ParseAll<CTrackEncryptionBox>(name, "tenc");
        auto piff = ParseAll<CTrackEncryptionBox>(name, "uuid", kPiffTrackEncryptionUserType);
        auto refTenc = Bento4Blocks(name, "[tenc]");
        auto refPiff = Bento4Blocks(name, "[8974DBCE7BE7-4C51-84F9-7148-F9882554]");
        ASSERT_EQ(tenc.size(), refTenc.size());
        ASSERT_EQ(piff.size(), refPiff.size());
        for (size_t i = 0; i < tenc.size(); ++i) ExpectTencAsBento4(*tenc[i].box, refTenc[i]);
        for (size_t i = 0; i < piff.size(); ++i) ExpectTencAsBento4(*piff[i].box, refPiff[i]);
        tencs += tenc.size() + piff.size();

        auto schm = ParseAll<CSchemeTypeBox>(name, "schm");
        auto refSchm = Bento4Blocks(name, "[schm]");
        ASSERT_EQ(schm.size(), refSchm.size());
        for (size_t i = 0; i < schm.size(); ++i) {
            EXPECT_EQ(FourCCText(schm[i]->m_schemeType), refSchm[i]["scheme_type"]);
            EXPECT_EQ(std::to_string(schm[i]->m_schemeVersion), refSchm[i]["scheme_version"]);
        }
        auto frma = ParseAll<COriginalFormatBox>(name, "frma");
        auto refFrma = Bento4Blocks(name, "[frma]");
        ASSERT_EQ(frma.size(), refFrma.size());
        for (size_t i = 0; i < frma.size(); ++i)
            EXPECT_EQ(FourCCText(frma[i]->m_dataFormat), refFrma[i]["original_format"]);

        // pssh boxes as the walk meets them (moov, moof).
        const CorpusFile f(name);
        auto pssh = f.All<CProtectionSystemHeaderBox>();
        auto refPssh = Bento4Blocks(name, "[pssh]");
        ASSERT_EQ(pssh.size(), refPssh.size());
        for (size_t i = 0; i < pssh.size(); ++i) {
            auto& ref = refPssh[i];
            EXPECT_EQ(Hex(pssh[i]->m_systemId), ref["system_id"]);
            EXPECT_EQ(std::to_string(pssh[i]->m_dataSize), ref["data_size"]);
            EXPECT_EQ(Hex(pssh[i]->m_data), ref["data"]);
            for (size_t k = 0; k < pssh[i]->m_kids.size(); ++k)
                EXPECT_EQ(Hex(pssh[i]->m_kids[k].data(), 16), ref["kid " + std::to_string(k)]);
            EXPECT_EQ(ref.count("kid " + std::to_string(pssh[i]->m_kids.size())), 0u);
            EXPECT_NE(DrmSystemName(pssh[i]->m_systemId.data()), nullptr);
        }
        psshs += pssh.size();
    }
    EXPECT_GE(tencs, 14u);
    EXPECT_GE(psshs, 5u);
}

namespace {
// A senc against its samples: one record each, subsamples adding up to the sample's size,
// the IV size its track's tenc says (null: none known), each record's size the one its
// saiz gives (null: none).
void ExpectSencMatchesSamples(const CSampleEncryptionBox& senc, const std::vector<uint64_t>& sizes,
                              const CTrackEncryptionBox* tenc, const CSaizBox* saiz) {
    EXPECT_EQ(senc.m_sampleCount, sizes.size());
    if (tenc) {
        EXPECT_EQ(senc.m_ivSize, tenc->m_perSampleIvSize);
    }
    if (saiz && !senc.m_records.empty()) {
        ASSERT_EQ(saiz->GetSampleCount(), senc.m_records.size());
        for (uint32_t i = 0; i < senc.m_records.size(); ++i) {
            const bool subsamples = senc.m_flags & CSampleEncryptionBox::kUseSubsampleEncryption;
            const uint32_t bytes = senc.m_ivSize + (subsamples ? 2 + 6 * senc.m_records[i].subsampleCount : 0);
            EXPECT_EQ(saiz->m_defaultSampleInfoSize ? saiz->m_defaultSampleInfoSize : saiz->GetSampleInfoSize(i), bytes)
                << "record " << i;
        }
    }
    if (!(senc.m_flags & CSampleEncryptionBox::kUseSubsampleEncryption)) return;
    ASSERT_EQ(senc.m_records.size(), sizes.size());
    for (size_t i = 0; i < sizes.size(); ++i) {
        const auto& r = senc.m_records[i];
        uint64_t sum = 0;
        for (uint32_t k = 0; k < r.subsampleCount; ++k)
            sum += senc.m_subsamples[r.firstSubsample + k].clearBytes + senc.m_subsamples[r.firstSubsample + k].protectedBytes;
        EXPECT_EQ(sum, sizes[i]) << "sample " << i;
    }
}
}  // namespace

TEST(ProtectionBoxes, SampleEncryptionMatchesTheSamplesAndTheTrackDefaults) {
    size_t checked = 0;
    std::vector<std::string> names(std::begin(kEncrypted), std::end(kEncrypted));
    names.push_back("pub_shaka_clearkey-video-seg1.m4s");
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        // The tracks' tenc boxes in file order: the corpus numbers its tracks from 1 in that order.
        auto tencs = ParseAll<CTrackEncryptionBox>(name, "tenc");
        for (auto& piff : ParseAll<CTrackEncryptionBox>(name, "uuid", kPiffTrackEncryptionUserType))
            tencs.push_back(std::move(piff));
        auto tencOf = [&](uint32_t trackId) -> const CTrackEncryptionBox* {
            return trackId >= 1 && trackId <= tencs.size() ? tencs[trackId - 1].box.get() : nullptr;
        };
        const CorpusFile f(name);
        uint32_t trakIndex = 0;
        for (const CBox* trak : f.Traks()) {
            ++trakIndex;
            for (const auto* senc : BoxesUnder<CSampleEncryptionBox>({trak})) {
                const auto stsz = BoxesUnder<CSampleSizeBox>({trak});
                ASSERT_EQ(stsz.size(), 1u);
                std::vector<uint64_t> sizes;
                for (uint32_t i = 0; i < stsz[0]->GetSampleCount(); ++i)
                    sizes.push_back(stsz[0]->GetSampleSize() ? stsz[0]->GetSampleSize() : stsz[0]->GetEntrySize(i));
                const auto saiz = BoxesUnder<CSaizBox>({trak});
                ExpectSencMatchesSamples(*senc, sizes, sizes.empty() ? nullptr : tencOf(trakIndex),
                                         saiz.empty() ? nullptr : saiz[0]);
                ++checked;
            }
        }
        for (const CBox* traf : f.All(FourCC("traf"))) {
            const auto sencs = BoxesUnder<CSampleEncryptionBox>({traf});
            if (sencs.empty()) continue;
            const auto* tfhd = BoxesUnder<CTrackFragmentHeaderBox>({traf}).at(0);
            std::vector<uint64_t> sizes;
            for (const auto* trun : BoxesUnder<CTrackRunBox>({traf}))
                for (size_t i = 0; i < trun->GetSampleEntryCount(); ++i)
                    sizes.push_back(trun->m_flags & CTrackRunBox::kSizePresent ? trun->GetSample(i).size
                                                                                : tfhd->m_defaultSampleSize);
            const auto saiz = BoxesUnder<CSaizBox>({traf});
            ExpectSencMatchesSamples(*sencs[0], sizes, tencOf(tfhd->m_trackId), saiz.empty() ? nullptr : saiz[0]);
            ++checked;
        }
    }
    EXPECT_GE(checked, 20u);
}

TEST(ProtectionBoxes, SeigGroupEntriesEqualBento4sAndTheirTracksTenc) {
    const std::string name = "pub_mp4parse-rust_short-cenc.mp4";
    const std::vector<std::string> ref = [&] {
        std::vector<std::string> out;
        for (const auto& m : Matches(ReadText(CorpusRef(name, "bento4.txt")), "grouping_type = seig\n[^\n]*\n[^\n]*\n"
                                                                              "[^\n]*\n *\\( *0\\) (\\[[^\n]*\\])"))
            out.push_back(m[0]);
        return out;
    }();
    const CorpusFile f(name);
    const auto tencs = ParseAll<CTrackEncryptionBox>(name, "tenc");
    std::vector<const CSampleEncryptionGroupEntry*> seigs;
    for (const auto* sgpd : f.All<CSampleGroupDescBox>())
        if (sgpd->m_groupingType == FourCC("seig"))
            seigs.push_back(dynamic_cast<const CSampleEncryptionGroupEntry*>(sgpd->GetGroupEntry(0)));
    ASSERT_EQ(seigs.size(), ref.size());
    ASSERT_EQ(seigs.size(), tencs.size());
    for (size_t i = 0; i < seigs.size(); ++i) {
        ASSERT_NE(seigs[i], nullptr);
        const uint8_t head[4] = {uint8_t(seigs[i]->m_reserved),
                                 uint8_t(seigs[i]->m_cryptByteBlock << 4 | seigs[i]->m_skipByteBlock),
                                 uint8_t(seigs[i]->m_isProtected), uint8_t(seigs[i]->m_perSampleIvSize)};
        EXPECT_EQ(Hex(head, 4).substr(0, 12) + " " + Hex(seigs[i]->m_kid).substr(1), ref[i]);
        EXPECT_EQ(seigs[i]->m_kid, tencs[i]->m_kid);
        EXPECT_EQ(seigs[i]->m_perSampleIvSize, tencs[i]->m_perSampleIvSize);
    }
}

TEST(ProtectionBoxes, PlayReadyObjectRecordsShowTheirXmlHeader) {
    // A PlayReady object of one header record in place of the corpus file's data.
    const std::string xml = "<W>\xC3\xA9</W>";  // UTF-16LE below, with U+00E9
    std::string utf16;
    for (char c : std::string("<W>")) utf16 += std::string{c, '\0'};
    utf16 += std::string("\xE9\0", 2);
    for (char c : std::string("</W>")) utf16 += std::string{c, '\0'};
    auto le16 = [](uint32_t v) { return std::string{char(v & 0xFF), char(v >> 8)}; };
    const std::string record = le16(1) + le16(uint32_t(utf16.size())) + utf16;
    const uint32_t length = 6 + uint32_t(record.size());
    const std::string object = le16(length & 0xFFFF) + le16(length >> 16) + le16(1) + record;
    const uint8_t playReady[16] = {0x9A, 0x04, 0xF0, 0x79, 0x98, 0x40, 0x42, 0x86,
                                   0xAB, 0x92, 0xE6, 0x5B, 0xE0, 0x88, 0x5F, 0x95};
    const std::string id(reinterpret_cast<const char*>(playReady), 16);
    auto pssh = ParseLeaf<CProtectionSystemHeaderBox>(FullBox("pssh", 0, 0, id + U32(length) + object));
    ASSERT_EQ(pssh.status, 0);
    ASSERT_EQ(pssh->m_playReadyRecords.size(), 1u);
    PageModel page = PageOf(*pssh.box);
    EXPECT_EQ(Value(page, "Length"), Format("%u (0X%08X)", length, length));
    EXPECT_EQ(Cells(page, 3, 0).at(2), xml);
    // PIFF's uuid form holds the same fields.
    auto piff = ParseLeaf<CProtectionSystemHeaderBox>(UuidBox(kPiffProtectionSystemUserType,
                                                              U32(0) + id + U32(length) + object));
    ASSERT_EQ(piff.status, 0);
    EXPECT_EQ(PageOf(*piff.box, nullptr).title, "PIFF Protection System Specific Header Box");
    // In a moov it is met as one, another uuid stays a plain box.
    const uint8_t other[16] = {1, 2, 3};
    auto file = ParseFile("piff_pssh.mp4", Box("ftyp", "isom" + U32(0)) +
                                               Box("moov", UuidBox(kPiffProtectionSystemUserType,
                                                                   U32(0) + id + U32(length) + object) +
                                                               UuidBox(other, "zz")));
    ASSERT_EQ(file->Top(1)->GetChildCount(), 2u);
    EXPECT_NE(dynamic_cast<const CProtectionSystemHeaderBox*>(file->Top(1)->GetChild(0)), nullptr);
    EXPECT_EQ(typeid(*file->Top(1)->GetChild(1)), typeid(CBox));
    // At the top level it is no box of the kind: a plain one, with the plain title.
    auto top = ParseFile("piff_top.mp4", Box("ftyp", "isom" + U32(0)) +
                                             UuidBox(kPiffProtectionSystemUserType, U32(0) + id + U32(0)));
    ASSERT_EQ(top->Count(), 2u);
    EXPECT_EQ(PageOf(*top->Top(1)).title, "XMP Metadata box");
}

TEST(ProtectionBoxes, HostileSizesFailTheBoxCleanly) {
    const std::string name = "pub_mp4parse-rust_short-cenc.mp4";
    const std::string file = ReadText(CorpusPath(name));
    const size_t pssh = file.find("pssh") - 4;
    auto changed = [&](size_t at, const std::string& bytes) {
        std::string f = file;
        f.replace(at, bytes.size(), bytes);
        return f;
    };
    // Version 1: system ID at +12, KID count at +28, KIDs, then the data size at +64.
    {
        SCOPED_TRACE("pssh data size past its box");
        const std::string f = changed(pssh + 64, U32(1000));
        auto box = Failing<CProtectionSystemHeaderBox>(f.substr(pssh, 68));
        EXPECT_TRUE(box->m_data.empty());
        // The walk stops at the failing box, which stays in the tree, as its other boxes do.
        auto walked = ParseFile("pssh_data.mp4", f);
        EXPECT_LT(walked->status, 0);
        EXPECT_EQ(BoxesUnder<CProtectionSystemHeaderBox>({walked->Top(1)}).size(), 1u);
    }
    {
        SCOPED_TRACE("pssh KID count past its box");
        auto box = Failing<CProtectionSystemHeaderBox>(changed(pssh + 28, U32(0xFFFFFFFF)).substr(pssh, 68));
        EXPECT_LE(box->m_kids.capacity(), 2u);
    }
    // tenc version 0: per-sample IV size at +15.
    const size_t tenc = file.find("tenc") - 4;
    {
        // The senc of cenc.mp4's video (IV size 8, subsamples): count 25 at +12, then records.
        const std::string cenc = ReadText(CorpusPath("cenc.mp4"));
        const std::string senc = BoxBytes(cenc, "senc").at(0);
        ASSERT_EQ(ParseLeaf<CSampleEncryptionBox>(senc).status, 0);
        SCOPED_TRACE("senc count past its bytes");
        std::string bytes = senc;
        bytes.replace(12, 4, U32(Be32(reinterpret_cast<const uint8_t*>(senc.data() + 12)) + 1000));
        EXPECT_TRUE(Failing<CSampleEncryptionBox>(bytes)->m_records.empty());
        SCOPED_TRACE("senc subsample count past its bytes");
        bytes = senc;
        bytes.replace(16 + 8, 2, U16(0xFFFF));
        Failing<CSampleEncryptionBox>(bytes);
        SCOPED_TRACE("PIFF senc of its own IV size 3");
        auto piff = BoxBytes(ReadText(CorpusPath("enc_piff_ctr_frag.mp4")), "uuid", kPiffSampleEncryptionUserType);
        ASSERT_FALSE(piff.empty());
        std::string own = piff[0].substr(0, 28) + U8(0) + U24(3) + U24(1) + U8(3) + std::string(16, '\x11') +
                          piff[0].substr(32);
        own.replace(0, 4, U32(uint32_t(own.size())));
        Failing<CSampleEncryptionBox>(own);
    }
    {
        SCOPED_TRACE("tenc IV size of 3");
        Failing<CTrackEncryptionBox>(changed(tenc + 15, U8(3)).substr(tenc, 32));
    }
    {
        SCOPED_TRACE("tenc constant IV size of 3, and a constant IV past the box");
        const std::string noIv = changed(tenc + 15, U8(0));
        std::string bytes = noIv.substr(tenc, 32) + U8(3);
        bytes.replace(0, 4, U32(33));
        Failing<CTrackEncryptionBox>(bytes);
        bytes.back() = 16;
        Failing<CTrackEncryptionBox>(bytes);
    }
}
