#pragma once
#include <string>
#include <vector>

// The real media files of ../shared/corpus (media files only, sorted by name).
std::vector<std::string> CorpusFiles();
std::string CorpusPath(const std::string& name);
std::string CorpusRef(const std::string& name, const std::string& suffix);  // ref/NAME.SUFFIX
// Reads a whole file; empty when it cannot be read.
std::string ReadText(const std::string& path);
