#include "cli/box_path.h"

#include <map>
#include <vector>

#include "cli/common.h"

namespace {
struct PathStep {
    uint32_t type = 0;
    size_t index = 0;
};

bool ParseStep(const std::string& text, PathStep& step) {
    std::string code = text;
    step.index = 0;
    const size_t open = text.find('[');
    if (open != std::string::npos) {
        if (text.back() != ']' || open + 2 >= text.size() || text.size() - open - 2 > 9) return false;
        for (size_t i = open + 1; i + 1 < text.size(); ++i) {
            if (text[i] < '0' || text[i] > '9') return false;
            step.index = step.index * 10 + static_cast<size_t>(text[i] - '0');
        }
        code = text.substr(0, open);
    }
    // Four bytes as they are, or four characters as the tree prints them ("©nam").
    if (code.size() != 4) return FourCCFromUtf8(code, step.type);
    step.type = 0;
    for (char c : code) step.type = (step.type << 8) | static_cast<unsigned char>(c);
    return true;
}

// "ftyp, moov, trak[0], trak[1]": an index only where a type occurs more than once.
std::string ListChildren(const std::vector<const CBox*>& boxes) {
    std::map<uint32_t, size_t> total, seen;
    for (const CBox* box : boxes) ++total[box->m_type];
    std::string out;
    for (const CBox* box : boxes) {
        if (!out.empty()) out += ", ";
        out.append(1, '\'').append(PrintableFourCC(box->m_type)).append(1, '\'');
        if (total[box->m_type] > 1) out.append(1, '[').append(std::to_string(seen[box->m_type]++)).append(1, ']');
    }
    return out.empty() ? "(none)" : out;
}
}  // namespace

const CBox* ResolveBoxPath(const CCorvel& parser, const std::string& path, std::string& error, const CBox** parent) {
    std::vector<const CBox*> level;
    for (size_t i = 0; i < parser.GetBoxCount(); ++i)
        if (const CBox* box = parser.GetBox(i)) level.push_back(box);

    const CBox* current = nullptr;
    const CBox* above = nullptr;
    std::string matched;  // the path matched so far
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        const std::string text = path.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
        PathStep step;
        if (!ParseStep(text, step)) {
            error = "bad box path element '" + text + "': expected a four-character code, optionally followed by [n]";
            return nullptr;
        }
        const CBox* found = nullptr;
        size_t n = 0;
        for (const CBox* box : level)
            if (box->m_type == step.type && n++ == step.index) {
                found = box;
                break;
            }
        if (!found) {
            error = "no box '" + text + "' " + (matched.empty() ? "at the top level" : "in " + matched) +
                    "; there are: " + ListChildren(level);
            return nullptr;
        }
        above = current;
        current = found;
        matched += (matched.empty() ? "" : "/") + text;
        if (slash == std::string::npos) break;
        start = slash + 1;
        level.clear();
        for (const auto& child : current->m_children)
            if (child) level.push_back(child.get());
    }
    if (parent) *parent = above;
    return current;
}
