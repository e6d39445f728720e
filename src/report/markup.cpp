#include "report/markup.h"

#include "report/format.h"
#include "report/text.h"

const char* const kTableOpen =
    "<table cellspacing = 1 cellpadding = 3 border = \"0\" width = \"100%\" align = \"center\" bgcolor = #cccccc>\r\n";
const char* const kSpacer =
    "<table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" height = 5><tr><td></td></tr></table>\r\n";
const char* const kFrame =
    "<iframe src = \"\" frameborder=\"0\" width=\"100%\" height=\"0\" marginwidth=0 marginheight=0 "
    "scrolling=\"no\" name=\"iframe_sub_page\" ID = \"iframe_sub_page\"></iframe>";
const char* const kListSpacer =
    "<table cellspacing = 0 cellpadding = 0 border = \"0\" width = \"100%\" height = 5 align = \"center\"><tr><td></td>"
    "</tr></table>";
const char* const kSelectPromptOption = "<option value = \"0\">Select</option>";

const char* const kPageHead =
    "<html>\r\n"
    "<head>\r\n"
    "<script language=\"Javascript\" type=\"text/javascript\">"
    "function fncResizeHeight(size)"
    "{"
    "var ifm = document.getElementById('iframe_sub_page');"
    "ifm.height = size;"
    "}"
    "function fncOnClick(size, offset)"
    "{"
    "var value = size ;value +=  \"|\"; value +=  offset  ;"
    "this.document.getElementById('HEX_INPUT').value = value;"
    "this.document.getElementById('HEX_INPUT').click();"
    "}"
    "</script>"
    "<style type=\"text/css\">"
    "td{ font-size:12px;color:#000000;font-family:arial}"
    "</style>"
    "</head>\r\n"
    "<body leftmargin = 5 topmargin = 5; rightmargin=5; bottommargin=5 oncontextmenu = \"return false\" "
    "ondragstart=\"return false\">\r\n"
    "<input type=hidden id = HEX_INPUT>\r\n";

const char* const kPageFoot = "</body>\r\n</html>\r\n";

std::string SubPageHead(bool withDoctype) {
    std::string head;
    if (withDoctype)
        head =
            "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\" "
            "\"http://www.w3.org/TR/html4/loose.dtd\"\r\n>";
    head +=
        "<html>\r\n"
        "<head>\r\n"
        "<script language=\"Javascript\" type=\"text/javascript\">\r\n"
        "window.onload = function()\r\n"
        "{\r\n"
        " parent.fncResizeHeight(document.body.scrollHeight);\r\n"
        "}\r\n"
        " </script>\r\n"
        "<style type=\"text/css\">\r\n"
        "td{ font-size:12px;color:#000000;font-family:arial}\r\n"
        "</style>\r\n"
        "</head>\r\n"
        "<body leftmargin = 0 topmargin = 0; rightmargin=0; bottommargin=0 oncontextmenu = \"return false\" "
        "ondragstart=\"return false\">\r\n";
    return head;
}

std::string AttrText(std::string_view path) { return HtmlEscape(path); }

std::string KeyValueTitleRow(const std::string& iconPath, std::string_view title) {
    return "<tr>" +
           Format("<td colspan = \"2\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"%s\"  align = absmiddle> "
                  "<b>%.*s</b></td>\r\n",
                  AttrText(iconPath).c_str(), static_cast<int>(title.size()), title.data()) +
           "</tr>\r\n";
}

std::string EntryPagesTitleRow(const std::string& iconPath, std::string_view title) {
    return "<tr>" +
           Format("<td align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"%s\"  align = absmiddle> <b>%.*s</b></td>\r\n",
                  AttrText(iconPath).c_str(), static_cast<int>(title.size()), title.data()) +
           "</tr>\r\n";
}

std::string ListTitleRow(int columns, const std::string& iconPath, std::string_view title) {
    return "<tr>" +
           Format("<td colspan = \"%d\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"%s\"  align = absmiddle> "
                  "<b>%.*s</b></td>\r\n",
                  columns, AttrText(iconPath).c_str(), static_cast<int>(title.size()), title.data()) +
           "</tr>\r\n";
}

std::string SubTitleRow(int columns, const std::string& iconPath, std::string_view title) {
    return Format("<tr>\r\n<td colspan = \"%d\" align = \"absmiddle\" bgcolor = #e6e1f4><img src = \"%s\"  align = "
                  "absmiddle><b> %.*s</b></td>\r\n</tr>\r\n",
                  columns, AttrText(iconPath).c_str(), static_cast<int>(title.size()), title.data());
}
