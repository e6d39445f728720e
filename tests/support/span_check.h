#pragma once
// Every row of a box page knows where its field lies: a row that shows a number reads
// back as that number from its span (big-endian, masked to its bits), a row of text as
// those bytes. The corpus test runs this over every file; the hand-built tests over the
// versions and flag layouts the corpus lacks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boxes/containers/corvel.h"

struct SpanTally {
    int numbers = 0, texts = 0;
};

// What is wrong with the rows of the pages of every box of a walk (each top-level box
// parsed again with its spans), at most 20 faults; `file` holds the bytes walked.
std::vector<std::string> SpanFaults(const CCorvel& parser, const std::string& file, SpanTally& tally);

// Hand-built bytes walked from a file on disk read in full: the walk succeeds, no box
// leaves payload bytes unread, and every row of every page decodes to its value.
testing::AssertionResult ReadsInFull(const std::string& bytes);

// Hand-built files, each with what it stands for, that must all read in full.
struct HandBuilt {
    const char* what;
    std::string bytes;
};
void ExpectReadInFull(std::initializer_list<HandBuilt> files);
