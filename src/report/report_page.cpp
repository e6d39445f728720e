#include "report/report_page.h"

ReportPage::ReportPage(std::string pagePath, std::string iconPath, std::string subPagePrefix)
    : m_pagePath(std::move(pagePath)), m_iconPath(std::move(iconPath)), m_subPagePrefix(std::move(subPagePrefix)) {}

ReportPage::~ReportPage() { Close(); }

bool ReportPage::Open(const std::string& path) {
    Close();
    m_file = std::fopen(path.c_str(), "wb");
    return m_file != nullptr;
}

void ReportPage::Write(std::string_view text) {
    if (m_file) std::fwrite(text.data(), 1, text.size(), m_file);
}

void ReportPage::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

// Placeholders until the page builder lands.
void BeginPage(ReportPage& page) { page.Open(page.PagePath()); }
void RenderTable(ReportPage&, const ReportTable&, const CBox*) {}
void EndPage(ReportPage& page) { page.Close(); }
PageModel BuildBoxPage(const CBox*, const CBox& box, const CCorvel*) {
    PageModel model;
    model.box = &box;
    return model;
}
void RenderBoxPage(const CBox* parent, ReportPage& page, const CBox& box, const CCorvel* parser) {
    BeginPage(page);
    for (const ReportTable& t : BuildBoxPage(parent, box, parser).tables) RenderTable(page, t, &box);
    EndPage(page);
}
