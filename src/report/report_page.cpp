#include "report/report_page.h"

ReportPage::ReportPage(std::string pagePath, std::string iconPath, std::string subPagePrefix)
    : m_pagePath(std::move(pagePath)), m_iconPath(std::move(iconPath)), m_subPagePrefix(std::move(subPagePrefix)) {}

ReportPage::~ReportPage() { Close(); }

bool ReportPage::Open(const std::string& path) {
    Close();
    // Binary: the markup carries its own CR LF line ends. "-" is standard output.
    m_file = path == "-" ? stdout : std::fopen(path.c_str(), "wb");
    m_failed = m_file == nullptr;
    return m_file != nullptr;
}

void ReportPage::Write(std::string_view text) {
    if (m_file && std::fwrite(text.data(), 1, text.size(), m_file) != text.size()) m_failed = true;
}

void ReportPage::Close() {
    if (m_file && (m_file == stdout ? std::fflush(m_file) : std::fclose(m_file)) != 0) m_failed = true;
    m_file = nullptr;
}

void WriteFile(ReportPage& page, const std::string& path, std::string_view text) {
    if (!page.Open(path)) return;
    page.Write(text);
    page.Close();
}
