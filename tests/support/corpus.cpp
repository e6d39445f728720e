#include "support/corpus.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(CORPUS_DIR)) {
        std::string name = e.path().filename().string();
        if (!e.is_regular_file() || name == "README.md") continue;
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CorpusPath(const std::string& name) { return std::string(CORPUS_DIR) + "/" + name; }

std::string CorpusRef(const std::string& name, const std::string& suffix) {
    return std::string(CORPUS_DIR) + "/ref/" + name + "." + suffix;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
