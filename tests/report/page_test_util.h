#pragma once
#include <filesystem>
#include <string>

#include "report/box_page.h"
#include "support/box_builder.h"
#include "support/corpus.h"

// A fresh folder in the tests' temporary folder for one test, removed afterwards.
class TempFolder {
public:
    explicit TempFolder(const std::string& name) : m_path(std::filesystem::path(TempDir()) / name) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The page model of a box, with its parent and the parse run when given.
inline PageModel PageOf(const CBox& box, const CBox* parent = nullptr, const CCorvel* parser = nullptr) {
    return BuildBoxPage(box, {parent, parser, nullptr, nullptr});
}

// The plain value of the first row with this label in the box's own tables (after
// the common header table), or in the header table when `header` is set.
inline std::string Value(const PageModel& page, const std::string& label, bool header = false) {
    for (size_t t = header ? 0 : 1; t < page.tables.size(); ++t)
        for (const Row& row : page.tables[t].rows)
            if (row.label == label) return row.value.Plain();
    return "<no row>";
}

// The plain cells of row `row` of table `table` (a list table) of the page.
inline std::vector<std::string> Cells(const PageModel& page, size_t table, size_t row) {
    std::vector<std::string> cells;
    for (const Text& c : page.tables.at(table).listRows.at(row).cells) cells.push_back(c.Plain());
    return cells;
}
