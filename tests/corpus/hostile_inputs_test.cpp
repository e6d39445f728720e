// Broken and hostile files: every input that once broke the engine, and every corpus
// file cut short, opens without crash with its fault told and no box past its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "corpus/corpus_refs.h"
#include "support/box_builder.h"
#include "report/page_model.h"
#include "support/render_all.h"

namespace {
namespace fs = std::filesystem;

// What a failed run tells: the file is not a media file, or it ends inside a box.
bool FaultTold(const CorpusFile& f) {
    const auto top = f.Top();
    return f.P().NotMediaHeader() ||
           std::any_of(top.begin(), top.end(), [](const CBox* b) { return b->IsTruncated(); });
}

// A file opens, a failed walk tells its fault (a cut file's always fails), and no box
// starts past the file's end.
void ExpectFaultToldAndNothingPastTheEnd(const std::string& path, uint64_t fileSize, bool cut) {
    const CorpusFile f(path);
    ASSERT_TRUE(f.Opened());
    EXPECT_EQ(f.status < 0 || cut, FaultTold(f));
    for (const CBox* box : f.All())
        EXPECT_LT(uint64_t(box->m_startOffset), fileSize) << "a box at " << box->m_startOffset;
}

// Peak resident memory of `corvel json FILE` in bytes; 0 when it did not run.
uint64_t PeakMemoryOfJson(const std::string& path) {
    const std::string command = std::string(PEAK_MEMORY_EXE) + " " + CORVEL_EXE + " json '" + path + "'";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return 0;
    unsigned long long bytes = 0;
    if (std::fscanf(p, "%llu", &bytes) != 1) bytes = 0;
    pclose(p);
    return bytes;
}

// The bytes of a file outside media data payloads.
uint64_t NonMediaDataBytes(const std::string& path) {
    const CorpusFile f(path);
    if (!f.Opened()) return 0;
    uint64_t bytes = fs::file_size(path);
    for (const CBox* box : f.Top()) {
        const uint64_t header = box->m_size == 1 ? 16 : 8;
        if (box->m_type == FourCC("mdat") && box->PresentSize() > header) bytes -= box->PresentSize() - header;
    }
    return bytes;
}

// The inputs that once broke the engine: the shared ones and those of our own fuzz runs.
std::vector<std::string> FuzzFindings() {
    std::vector<std::string> files;
    for (const std::string& dir : {std::string(CORPUS_DIR) + "/../fuzz-findings", std::string(FUZZ_FINDINGS_DIR)}) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(dir, ec))
            if (entry.is_regular_file() && entry.path().extension() != ".md") files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
}  // namespace

TEST(HostileInputs, FuzzFindingsStayBounded) {
    const std::vector<std::string> files = FuzzFindings();
    ASSERT_FALSE(files.empty());
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        const uint64_t size = fs::file_size(path);
        const RenderTotals totals = RenderEverything(path);
        // Pages, the JSON tree and the samples come to a bounded multiple of the file's
        // bytes: nothing is made of bytes the file does not hold. Each finding once made
        // gigabytes of one of them.
        EXPECT_LE(totals.largestPage, 8 * size + (256 << 10));
        EXPECT_LE(totals.mostTableRows, kRowsPerSubPage);
        EXPECT_LE(totals.jsonBytes, 64 * size + (1 << 20));
        EXPECT_LE(totals.samples, size);
        EXPECT_TRUE(totals.streamedAgrees);
        ExpectFaultToldAndNothingPastTheEnd(path, size, false);
    }
}

// Every page and sub page of every corpus file: no table shows more rows than a sub page
// holds, however many the file gives it.
TEST(HostileInputs, CorpusPagesHoldAtMostASubPageOfRows) {
    ForEachCorpusFile([](const std::string& name, const CorpusFile&) {
        const RenderTotals totals = RenderEverything(CorpusPath(name));
        EXPECT_LE(totals.mostTableRows, kRowsPerSubPage) << name;
        EXPECT_TRUE(totals.streamedAgrees) << name;
    });
}

TEST(HostileInputs, CorpusFilesCutShort) {
    ForEachCorpusFile([](const std::string& name, const CorpusFile& whole) {
        const std::string bytes = ReadText(CorpusPath(name));
        // A failed run of the corpus file itself tells why.
        EXPECT_EQ(whole.status < 0, FaultTold(whole));
        if (whole.P().NotMediaHeader()) return;
        // A cut between two top-level boxes is a whole file of fewer boxes, and one inside
        // a last box of size 0 (to the end of the file) a shorter box: neither is a fault.
        std::vector<uint64_t> boundaries;
        uint64_t toTheEnd = bytes.size();
        for (const CBox* top : whole.Top()) {
            boundaries.push_back(uint64_t(top->m_startOffset));
            if (top->m_size == 0) toTheEnd = uint64_t(top->m_startOffset) + 8;
        }
        for (int k = 1; k <= 10; ++k) {
            uint64_t cut = bytes.size() * k / 11;
            while (std::find(boundaries.begin(), boundaries.end(), cut) != boundaries.end()) ++cut;
            if (cut == 0 || cut >= toTheEnd) continue;
            SCOPED_TRACE("cut at " + std::to_string(cut));
            const std::string path = WriteTempFile("cut.bin", bytes.substr(0, cut));
            const RenderTotals totals = RenderEverything(path, 100, 10000);
            EXPECT_EQ(totals.status, -1);
            EXPECT_TRUE(totals.streamedAgrees);
            ExpectFaultToldAndNothingPastTheEnd(path, cut, true);
        }
    });
}

TEST(HostileInputs, PeakMemoryFollowsTheBytesOutsideMediaData) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's own memory";
#endif
    // Some 250 bytes of objects per box: a file of nothing but 8-byte boxes is the worst
    // case. Media data is never read, so its size does not count.
    std::vector<std::string> files = FuzzFindings();
    for (const std::string& name : CorpusFiles()) files.push_back(CorpusPath(name));
    for (const std::string& path : files) {
        const uint64_t peak = PeakMemoryOfJson(path);
        ASSERT_GT(peak, 0u) << path;
        EXPECT_LE(peak, 32 * NonMediaDataBytes(path) + (16 << 20)) << path;
    }
}
