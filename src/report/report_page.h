#pragma once
#include <cstdio>
#include <string>
#include <string_view>

// The page file writer of one rendering: the page path, the title icon's path and the
// sub-page prefix (the sub-page folder, ending in '/').
class ReportPage {
public:
    ReportPage(std::string pagePath, std::string iconPath, std::string subPagePrefix);
    ~ReportPage();
    ReportPage(const ReportPage&) = delete;
    ReportPage& operator=(const ReportPage&) = delete;

    const std::string& PagePath() const { return m_pagePath; }
    const std::string& IconPath() const { return m_iconPath; }
    const std::string& SubPagePrefix() const { return m_subPagePrefix; }

    bool Open(const std::string& path);  // create/truncate ("-": standard output); false when it cannot be
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

// Writes a whole sub page file at `path`.
void WriteFile(ReportPage& page, const std::string& path, std::string_view text);
