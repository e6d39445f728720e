// Times the first and the last sample sub page of a track of 1,000,000 samples: a
// page reaches its first sample from the tables directly, so both should cost alike.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "boxes/containers/containers.h"
#include "report/sub_pages.h"

namespace {
constexpr uint32_t kSamples = 1000000;
constexpr uint32_t kPerChunk = 10;

std::string U32(uint32_t v) { return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)}; }
std::string U64(uint64_t v) { return U32(uint32_t(v >> 32)) + U32(uint32_t(v)); }
std::string Box(const char* type, const std::string& payload) { return U32(uint32_t(8 + payload.size())) + type + payload; }
std::string FullBox(const char* type, const std::string& payload) { return Box(type, U32(0) + payload); }

// The stbl of a 1,000,000-sample track: one delta, sizes that vary, 10 samples a chunk,
// a sync sample every 250.
std::string TrackTables() {
    std::string sizes, offsets, syncs;
    for (uint32_t i = 0; i < kSamples; ++i) sizes += U32(1000 + i % 500);
    for (uint64_t c = 0; c < kSamples / kPerChunk; ++c) offsets += U64(48 + c * 20000);
    for (uint32_t i = 1; i <= kSamples; i += 250) syncs += U32(i);
    return Box("stbl", FullBox("stts", U32(1) + U32(kSamples) + U32(1001)) +
                           FullBox("stsz", U32(0) + U32(kSamples) + sizes) +
                           FullBox("stsc", U32(1) + U32(1) + U32(kPerChunk) + U32(1)) +
                           FullBox("co64", U32(kSamples / kPerChunk) + offsets) +
                           FullBox("stss", U32(kSamples / 250) + syncs));
}

// Parses the tables as the walk does; the box reads its tables from `bytes`, which must outlive it.
std::unique_ptr<CSampleTableBox> MakeTrack(const std::string& bytes) {
    CBitStreamReader reader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size() * 8);
    CBox header;
    if (header.ParseBox(reader) < 0) return nullptr;
    auto stbl = std::make_unique<CSampleTableBox>(header, FourCC("vide"));
    return stbl->ParseBox(reader) == 0 ? std::move(stbl) : nullptr;
}
}  // namespace

int main() {
    const std::string bytes = TrackTables();
    auto stbl = MakeTrack(bytes);
    if (!stbl) return 1;
    const std::string path = (std::filesystem::temp_directory_path() / "corvel_subpage_bench.html").string();
    ReportPage page("", "Img/icon_right.png", "");
    const uint32_t lastPage = (kSamples - 1) / static_cast<uint32_t>(kRowsPerSubPage);
    constexpr int kRuns = 20;
    for (uint32_t k : {0u, lastPage}) {
        double best = 1e9, total = 0;
        for (int run = 0; run < kRuns; ++run) {
            auto start = std::chrono::steady_clock::now();
            WriteTrackSamplesSubPage(page, *stbl, path, k, nullptr);
            double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            best = std::min(best, ms);
            total += ms;
        }
        std::printf("track samples sub page %u of a %u-sample track: best %.3f ms, mean %.3f ms (%d runs)\n", k,
                    kSamples, best, total / kRuns, kRuns);
    }
    std::filesystem::remove(path);
    return 0;
}
