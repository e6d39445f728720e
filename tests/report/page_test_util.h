#pragma once
#include <filesystem>
#include <string>

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

// The fixed page head and foot, byte for byte.
inline const std::string kExpectedHead =
    "<html>\r\n<head>\r\n<script language=\"Javascript\" type=\"text/javascript\">function fncResizeHeight(size){var "
    "ifm = document.getElementById('iframe_sub_page');ifm.height = size;}function fncOnClick(size, offset){var value "
    "= size ;value +=  \"|\"; value +=  offset  ;this.document.getElementById('HEX_INPUT').value = "
    "value;this.document.getElementById('HEX_INPUT').click();}</script><style type=\"text/css\">td{ "
    "font-size:12px;color:#000000;font-family:arial}</style></head>\r\n<body leftmargin = 5 topmargin = 5; "
    "rightmargin=5; bottommargin=5 oncontextmenu = \"return false\" ondragstart=\"return false\">\r\n<input "
    "type=hidden id = HEX_INPUT>\r\n";
inline const std::string kExpectedFoot = "</body>\r\n</html>\r\n";
inline const std::string kExpectedTableOpen =
    "<table cellspacing = 1 cellpadding = 3 border = \"0\" width = \"100%\" align = \"center\" bgcolor = #cccccc>\r\n";
inline const std::string kExpectedSpacer =
    "<table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" height = 5><tr><td></td></tr></table>\r\n";
inline const std::string kExpectedFrame =
    "<iframe src = \"\" frameborder=\"0\" width=\"100%\" height=\"0\" marginwidth=0 marginheight=0 scrolling=\"no\" "
    "name=\"iframe_sub_page\" ID = \"iframe_sub_page\"></iframe>";

inline std::string ExpectedKeyValueTitle(const std::string& icon, const std::string& title) {
    return "<tr><td colspan = \"2\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"" + icon +
           "\"  align = absmiddle> <b>" + title + "</b></td>\r\n</tr>\r\n";
}
inline std::string ExpectedKeyValueRow(const std::string& label, const std::string& value) {
    return "<tr>\r\n<td align = \"left\"  bgcolor = #f3f1f1 width = \"35%\">" + label +
           "</td>\r\n<td align = \"left\" bgcolor = white>" + value + "</td>\r\n</tr>\r\n";
}
