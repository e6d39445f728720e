#pragma once
#include <cstdio>
#include <string>
#include <string_view>

#include "report/page_model.h"

// The page file writer of one rendering: the page path, the title icon's path and
// the sub-page prefix (the sub-page folder, ending in '/').
class ReportPage {
public:
    ReportPage(std::string pagePath, std::string iconPath, std::string subPagePrefix);
    ~ReportPage();
    ReportPage(const ReportPage&) = delete;
    ReportPage& operator=(const ReportPage&) = delete;

    const std::string& PagePath() const { return m_pagePath; }
    const std::string& IconPath() const { return m_iconPath; }
    const std::string& SubPagePrefix() const { return m_subPagePrefix; }

    bool Open(const std::string& path);  // create/truncate; false when it cannot be created
    void Write(std::string_view text);
    void Close();
    // True once the page file could not be created or a write or close failed.
    bool Failed() const { return m_failed; }

private:
    std::string m_pagePath;
    std::string m_iconPath;
    std::string m_subPagePrefix;
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};

// Empties and recreates the sub-page folder, opens the page file, writes the page head.
void BeginPage(ReportPage& page);
// The most options an EntryPages select offers (20 million entries): a count
// from a hostile file must not turn into a page of gigabytes.
inline constexpr uint32_t kMaxEntryPageOptions = 100000;

// Writes one table by its kind; EntryPages tables name `box` by its identity.
void RenderTable(ReportPage& page, const ReportTable& table, const CBox* box);
// Writes the page foot and closes the file.
void EndPage(ReportPage& page);

// The page of one box as data: the common header table under the page title, then its own tables.
// `out`, when the page is written as HTML, gives the icon and the sub-page folder
// that markup tables name.
PageModel BuildBoxPage(const CBox* parent, const CBox& box, const CCorvel* parser, const ReportPage* out = nullptr);
// Writes a whole page: BeginPage, every table, EndPage.
void RenderPage(ReportPage& page, const PageModel& model);
// Builds and writes the page of one box into the page file.
void RenderBoxPage(const CBox* parent, ReportPage& page, const CBox& box, const CCorvel* parser);
