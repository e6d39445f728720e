// Times the first and the last sample sub page of a track of 1,000,000 samples: a
// page reaches its first sample from the tables directly, so both should cost alike.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "boxes/containers/containers.h"
#include "boxes/sampletable/chunk_offset_box.h"
#include "boxes/sampletable/sample_size_box.h"
#include "boxes/sampletable/sample_to_chunk_box.h"
#include "boxes/sampletable/sync_sample_box.h"
#include "boxes/sampletable/time_to_sample_box.h"
#include "report/sub_pages.h"

namespace {
constexpr uint32_t kSamples = 1000000;
constexpr uint32_t kPerChunk = 10;

template <class T>
T& Add(CBox& parent, const char (&type)[5]) {
    CBox header;
    header.m_type = FourCC(type);
    auto box = std::make_unique<T>(header);
    T& ref = *box;
    parent.AddChildBox(std::move(box));
    return ref;
}

std::unique_ptr<CSampleTableBox> MakeTrack() {
    CBox header;
    header.m_type = FourCC("stbl");
    auto stbl = std::make_unique<CSampleTableBox>(header, FourCC("vide"));
    auto& stts = Add<CTimeToSampleBox>(*stbl, "stts");
    stts.m_entryCount = 1;
    stts.m_entries.push_back({kSamples, 1001});
    auto& stsz = Add<CSampleSizeBox>(*stbl, "stsz");
    stsz.m_sampleCount = kSamples;
    for (uint32_t i = 0; i < kSamples; ++i) stsz.m_entrySizes.push_back(1000 + i % 500);
    auto& stsc = Add<CSampleToChunkbox>(*stbl, "stsc");
    stsc.m_entryCount = 1;
    stsc.m_entries.push_back({1, kPerChunk, 1});
    auto& stco = Add<CChunkOffsetBox>(*stbl, "co64");
    stco.m_entryCount = kSamples / kPerChunk;
    for (uint64_t c = 0; c < stco.m_entryCount; ++c) stco.m_chunkOffsets.push_back(48 + c * 20000);
    auto& stss = Add<CSyncSampleBox>(*stbl, "stss");
    for (uint32_t i = 1; i <= kSamples; i += 250) stss.m_sampleNumbers.push_back(i);
    stss.m_entryCount = static_cast<uint32_t>(stss.m_sampleNumbers.size());
    return stbl;
}
}  // namespace

int main() {
    auto stbl = MakeTrack();
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
