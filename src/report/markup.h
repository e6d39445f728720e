#pragma once
#include <string>
#include <string_view>

// The fixed markup shared by box pages and sub pages. "\r\n" is written as the
// two bytes CR LF; page files are written in binary mode, so nothing is doubled.

// Opens every table of a page.
extern const char* const kTableOpen;
// The thin gap written after every table.
extern const char* const kSpacer;
// The frame that a chosen sub page is loaded into (no line end).
extern const char* const kFrame;
// The gap after the select lists of an mdat page (it closes the list's table).
extern const char* const kListSpacer;
// The first option of every select list.
extern const char* const kSelectPromptOption;

// The head of a box page: scripts for the sub-page frame and the hex dump button,
// the cell style, the body and the hidden HEX_INPUT element.
extern const char* const kPageHead;
// The foot of box pages and sub pages.
extern const char* const kPageFoot;

// The head of a sub page; `withDoctype` adds the HTML 4.01 Transitional document
// type declaration (only the per-sample page of a sample table has it).
std::string SubPageHead(bool withDoctype);
inline const char* const kSubPageFoot = "</body>\r\n</html>\r\n";

// The icon path or a sub-page prefix inside an attribute value: HTML-escaped, so
// an odd folder name cannot break the markup (ordinary paths are unchanged).
std::string AttrText(std::string_view path);

// Title row of a KeyValue table: "<tr>" + cell spanning 2 columns + "</tr>\r\n".
std::string KeyValueTitleRow(const std::string& iconPath, std::string_view title);
// Title row of an EntryPages table (no colspan).
std::string EntryPagesTitleRow(const std::string& iconPath, std::string_view title);
// Title row of a List table spanning `columns` columns.
std::string ListTitleRow(int columns, const std::string& iconPath, std::string_view title);
// Title row of the select lists and sub pages of sample lists:
// "<tr>\r\n<td colspan = "N" ...><img ...><b> TITLE</b></td>\r\n</tr>\r\n".
std::string SubTitleRow(int columns, const std::string& iconPath, std::string_view title);
