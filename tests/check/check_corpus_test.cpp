// corvel check over the whole corpus: what ffmpeg wrote and the encrypted files pass;
// errors come only from the files that are broken on purpose.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "check/checker.h"
#include "support/corpus.h"
#include "support/parse_file.h"

namespace {
// The corpus files the corpus README says ffmpeg made ("- **NAME** (...) - ... - ffmpeg: ...").
std::set<std::string> FfmpegMade() {
    std::set<std::string> made;
    std::istringstream readme(ReadText(CorpusPath("README.md")));
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("- **", 0) != 0) continue;
        const size_t end = line.find("**", 4);
        if (end != std::string::npos && line.find(" - ffmpeg: ") != std::string::npos)
            made.insert(line.substr(4, end - 4));
    }
    return made;
}

std::vector<Finding> CheckCorpusFile(const std::string& name) {
    CCorvelLib lib;
    if (lib.Init(CorpusPath(name)) < 0) return {};
    lib.Go();
    return CheckFile(*lib.Parser());
}
}  // namespace

TEST(CheckCorpus, OnlyBrokenFilesHaveErrors) {
    // Broken on purpose, or damaged where they were found: the errors each has, and why
    // its bytes bear them out.
    const std::map<std::string, std::set<std::string>> broken = {
        // Cut half way through its mdat: the last chunks lie past the end.
        {"truncated_mdat.mp4", {"file-truncated", "stco-offset-past-eof", "sample-past-eof"}},
        // Fuzzer output: a moov of 1124100509 bytes in a 56-byte file, holding a lone ctts.
        {"pub_mp4parse-rust_clusterfuzz-6093954524250112.mp4", {"file-truncated", "box-missing"}},
        // Boxes claiming more than the file: a moov of 2120 bytes in a 345-byte file.
        {"pub_mp4parse-rust_wide_box_size_0.avif", {"file-truncated", "box-missing"}},
        // A damaged file: its mvhd and tkhd have a byte flipped (".vhd", "tkUd"), and the file
        // ends inside its last box.
        {"pub_atomicparsley_issue-32.mp4", {"file-truncated", "box-missing"}},
        // The meta box claims 242 bytes; the file holds 224 of them.
        {"pub_mp4parse-rust_bug-1655846.avif", {"file-truncated"}},
        // A test file cut after its moov: two ftyp boxes (at 0 and 62), no mdat, and chunk
        // offsets up to 341518 in a file of 340481 bytes.
        {"pub_go-mp4_sample_qt.mp4", {"box-duplicate", "stco-offset-past-eof", "sample-past-eof"}},
        // The header of a file without its media data: chunk 1 at 8753 in 8745 bytes.
        {"pub_mp4parse-rust_bipbop_nonfragment_header.mp4", {"stco-offset-past-eof"}},
    };
    // Warnings the bytes of a clean file bear out: ffmpeg counts only the tracks with
    // samples in the moov, so an empty moov's next track ID is 2 whatever its tracks; its
    // animated AVIF says 0 for the track duration (and the movie's) of a 1-second track.
    const std::set<std::string> borneOut = {"next-track-id", "modern_animated.avif tkhd-duration"};
    const std::set<std::string> ffmpeg = FfmpegMade();
    EXPECT_GE(ffmpeg.size(), 30u);
    for (const std::string& name : CorpusFiles()) {
        const bool clean = ffmpeg.count(name) || name.rfind("enc_", 0) == 0 || name.rfind("modern_", 0) == 0;
        std::set<std::string> errors;
        std::string said;
        for (const Finding& f : CheckCorpusFile(name)) {
            if (f.severity == Severity::Error) errors.insert(f.rule);
            const bool allowed = borneOut.count(f.rule) || borneOut.count(name + " " + f.rule);
            if (f.severity == Severity::Error || (clean && f.severity == Severity::Warning && !allowed))
                said += std::string(SeverityText(f.severity)) + " " + f.rule + " " + f.box + ": " + f.message + "\n";
        }
        auto it = broken.find(name);
        EXPECT_EQ(errors, it == broken.end() ? std::set<std::string>{} : it->second) << name << "\n" << said;
        if (clean) {
            EXPECT_EQ(said, "") << name;
        }
    }
}
