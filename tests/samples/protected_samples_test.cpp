// Protected samples against what they protect: every sample of the encrypted corpus files
// decrypts to the same sample of their clear source, and a media segment read with its
// init segment walks as the two files joined (ffprobe's packets of the joined files).
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include <openssl/evp.h>

#include "corpus/corpus_refs.h"
#include "samples/sample_context.h"
#include "samples/sample_decryption.h"
#include "samples/sample_lookup.h"
#include "support/cli_run.h"

namespace {
const char* kVideoKey = "0123456789abcdef0123456789abcdef:00112233445566778899aabbccddeeff";
const char* kAudioKey = "fedcba9876543210fedcba9876543210:ffeeddccbbaa99887766554433221100";

// Every sample of a file by (track, number): its bytes, decrypted with `keys` where it is
// protected, or why it was not.
std::map<std::pair<uint32_t, uint64_t>, std::string> Samples(const CorpusFile& f, const KeyRing& keys,
                                                             const CCorvel* init = nullptr) {
    std::map<std::pair<uint32_t, uint64_t>, std::string> out;
    const SampleContext context(f.P(), init);
    VisitSamples(context, nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        std::vector<uint8_t> bytes = ReadSampleBytes(f.P(), r);
        const std::string why = o.encryption ? DecryptSample(o.encryption->Of(r.index), keys, bytes) : "";
        out[{o.trackId, o.number}] = why.empty() ? std::string(bytes.begin(), bytes.end()) : "not decrypted: " + why;
        return true;
    });
    return out;
}

KeyRing Keys(std::initializer_list<const char*> texts) {
    KeyRing keys;
    std::string error;
    for (const char* t : texts) EXPECT_TRUE(keys.Add(t, error)) << error;
    return keys;
}
}  // namespace

// cenc, cbc1, cens and cbcs (patterns, constant IVs) and PIFF, both tracks.
TEST(ProtectedSamples, DecryptToTheClearSource) {
    const CorpusFile source("enc_source_frag.mp4");
    const auto clear = Samples(source, {});
    ASSERT_EQ(clear.size(), 145u);
    for (const char* name : {"enc_cenc_frag.mp4", "enc_cbc1_frag.mp4", "enc_cens_frag.mp4", "enc_cbcs_frag.mp4",
                             "enc_piff_ctr_frag.mp4"}) {
        SCOPED_TRACE(name);
        const CorpusFile f(name);
        const auto decrypted = Samples(f, Keys({kVideoKey, kAudioKey}));
        ASSERT_EQ(decrypted.size(), clear.size());
        for (const auto& [at, bytes] : clear) ASSERT_EQ(decrypted.at(at), bytes) << at.first << " " << at.second;
        // Without the audio key the audio samples are told, not garbled; a clear track stays as it is.
        const auto videoOnly = Samples(f, Keys({kVideoKey}));
        const bool audioProtected = std::string(name) != "enc_cbc1_frag.mp4";
        EXPECT_EQ(videoOnly.at({2, 0}), audioProtected ? "not decrypted: no key for its KID" : clear.at({2, 0}));
        EXPECT_EQ(videoOnly.at({1, 40}), clear.at({1, 40}));
    }
}

// A progressive file (senc in each stbl) against ffmpeg's own decryption: ffprobe 5.1's
// MD5 of each decrypted packet (tests/data/cenc.decrypted.md5.csv: position, size, MD5).
TEST(ProtectedSamples, ProgressiveFileDecryptsAsFfmpegDoes) {
    const CorpusFile f("cenc.mp4");
    std::map<uint64_t, std::string> ours;  // by position: the MD5 of the decrypted sample
    const KeyRing keys = Keys({"00112233445566778899aabbccddeeff"});
    VisitSamples(SampleContext(f.P()), nullptr, [&](const SampleOrigin& o, const SampleRecord& r) {
        std::vector<uint8_t> bytes = ReadSampleBytes(f.P(), r);
        EXPECT_EQ(DecryptSample(o.encryption->Of(r.index), keys, bytes), "");
        unsigned char md5[16];
        EVP_Digest(bytes.data(), bytes.size(), md5, nullptr, EVP_md5(), nullptr);
        for (unsigned char b : md5) ours[r.offset] += Format("%02x", b);
        return true;
    });
    const auto packets = Matches(ReadText(std::string(TEST_DATA_DIR) + "/cenc.decrypted.md5.csv"), "(\\d+),\\d+,(\\w+)");
    ASSERT_EQ(packets.size(), ours.size());
    for (const auto& p : packets) EXPECT_EQ(ours[std::stoull(p[0])], p[1]) << p[0];
}

// A key alone serves every KID; a malformed key is refused.
TEST(ProtectedSamples, KeyForms) {
    const CorpusFile f("enc_cbc1_frag.mp4"), source("enc_source_frag.mp4");
    EXPECT_EQ(Samples(f, Keys({"00112233445566778899AABBCCDDEEFF"})), Samples(source, {}));
    KeyRing keys;
    std::string error;
    for (const char* bad : {"0123", "0123456789abcdef0123456789abcdef:", "zz112233445566778899aabbccddeeff",
                            "0123456789abcdef0123456789abcdef:00112233445566778899aabbccddeef"})
        EXPECT_FALSE(keys.Add(bad, error)) << bad;
    EXPECT_TRUE(keys.Empty());
}

// ffprobe's packets of the init and media segment joined (tests/data, made with ffprobe 5.1
// from `cat INIT SEG`): the segment's samples lie the init's size earlier.
TEST(ProtectedSamples, SegmentWithInitWalksAsTheJoinedFiles) {
    for (const std::string kind : {"video", "audio"}) {
        SCOPED_TRACE(kind);
        const CorpusFile init("dash_" + kind + "_init.m4s"), segment("dash_" + kind + "_seg1.m4s");
        const uint64_t initSize = uint64_t(init.P().FileSize());
        const std::vector<Packet> expected = PacketsCsvAt(std::string(TEST_DATA_DIR) + "/dash_" + kind + "_joined.packets.csv");
        std::vector<SampleRecord> got;
        VisitSamples(SampleContext(segment.P(), &init.P()), nullptr, [&](const SampleOrigin&, const SampleRecord& r) {
            got.push_back(r);
            return true;
        });
        ASSERT_EQ(got.size(), expected.size());
        for (size_t i = 0; i < got.size(); ++i) {
            EXPECT_EQ(got[i].offset + initSize, expected[i].pos) << i;
            EXPECT_EQ(got[i].size, expected[i].size) << i;
            EXPECT_EQ(int64_t(got[i].decodeTime - got[0].decodeTime), expected[i].dts - expected[0].dts) << i;
            EXPECT_EQ(got[i].sync != SampleRecord::Sync::No, expected[i].key) << i;
        }
    }
}

// An encrypted file split at its first moof: `corvel samples --init` on the second part
// says what `corvel samples` says of the whole file, offsets aside, decryption included.
TEST(ProtectedSamples, SplitFileWithInitAsTheWhole) {
    const std::string whole = ReadText(CorpusPath("enc_cbcs_frag.mp4"));
    const size_t moof = whole.find("moof") - 4;
    const std::string dir = ::testing::TempDir();
    std::ofstream(dir + "split_init.mp4", std::ios::binary) << whole.substr(0, moof);
    std::ofstream(dir + "split_seg.m4s", std::ios::binary) << whole.substr(moof);
    const std::string keys = std::string(" --key ") + kVideoKey + " --key " + kAudioKey;
    const CliRun all = RunCorvel("samples " + CorpusPath("enc_cbcs_frag.mp4") + keys);
    const CliRun split = RunCorvel("samples " + dir + "split_seg.m4s --init " + dir + "split_init.mp4" + keys);
    ASSERT_EQ(all.status, 0);
    ASSERT_EQ(split.status, 0) << split.err;
    // The offset column (the 7th) moves by the init's size.
    std::vector<std::vector<std::string>> expected, got;
    for (const auto& [text, rows, shift] : {std::tuple{all.out, &expected, 0ul}, {split.out, &got, moof}})
        for (const auto& line : Matches(text, "([^\n]+)")) {
            std::vector<std::string> cells;
            for (const auto& c : Matches(line[0] + ",", "([^,]*),")) cells.push_back(c[0]);
            if (cells.size() > 6 && cells[6] != "offset") cells[6] = std::to_string(std::stoull(cells[6]) + shift);
            rows->push_back(cells);
        }
    EXPECT_EQ(got, expected);
    EXPECT_EQ(got.size(), 146u);
    EXPECT_EQ(got[1].back(), "ok");
    // The decrypted sample as `corvel sample` writes it, through the init.
    const CliRun sample = RunCorvel("sample " + dir + "split_seg.m4s 1 0 --init " + dir + "split_init.mp4" + keys);
    EXPECT_EQ(sample.out, Samples(CorpusFile("enc_source_frag.mp4"), {}).at({1, 0}));
}

// Without a senc the IVs and subsamples come from the auxiliary information that saiz and
// saio point at (here the records of each senc, renamed away); a hostile saio or IV size is
// told per sample.
TEST(ProtectedSamples, AuxiliaryInformationWithoutSenc) {
    std::string bytes = ReadText(CorpusPath("enc_cenc_frag.mp4"));
    for (size_t at = 0; (at = bytes.find("senc", at)) != std::string::npos;) bytes.replace(at, 4, "xenc");
    const auto parsed = [](const std::string& name, const std::string& content) {
        const std::string path = ::testing::TempDir() + name;
        std::ofstream(path, std::ios::binary) << content;
        return Samples(CorpusFile(path), Keys({kVideoKey, kAudioKey}));
    };
    EXPECT_EQ(parsed("aux.mp4", bytes), Samples(CorpusFile("enc_source_frag.mp4"), {}));
    // The saio's first offset (version 0, no type: after version, flags and count) past the file.
    std::string past = bytes;
    past.replace(past.find("saio") + 12, 4, "\x7F\xFF\xFF\x00", 4);
    EXPECT_EQ(parsed("aux_past.mp4", past).at({1, 0}), "not decrypted: auxiliary information past the end of the file");
}
