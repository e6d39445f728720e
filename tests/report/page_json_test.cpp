#include <gtest/gtest.h>

#include "report/page_json.h"

TEST(PageJson, StringsAreValidJson) {
    EXPECT_EQ(JsonString("plain"), "\"plain\"");
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString(std::string("\n\r\t\x01\x1f\x7f", 6)), "\"\\n\\r\\t\\u0001\\u001f\\u007f\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    // Valid UTF-8 stays, 2, 3 and 4 bytes.
    EXPECT_EQ(JsonString("\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), "\"\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\"");
    // Each byte that starts no valid sequence becomes U+FFFD: a lone byte, an
    // overlong form, an encoded surrogate, a cut sequence, a value past U+10FFFF.
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(JsonString("\xFF"), "\"" + r + "\"");
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"" + r + r + "\"");
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"" + r + r + r + "\"");
    EXPECT_EQ(JsonString("x\xE2\x82"), "\"x" + r + r + "\"");
    EXPECT_EQ(JsonString("\xF4\x90\x80\x80"), "\"" + r + r + r + r + "\"");
    // Nothing is cut.
    EXPECT_EQ(JsonString(std::string(100000, 'a')).size(), 100002u);
}

TEST(PageJson, Tables) {
    ReportTable kv("Movie Box");
    kv.AddRow("Name", Text::FromFile("<x>"));
    EXPECT_EQ(TableJson(kv), R"({"title": "Movie Box", "kind": "KeyValue", "rows": [["Name", "<x>"]]})");
    ReportTable entries("Entries", TableKind::EntryPages);
    entries.entryCount = 450;
    EXPECT_EQ(TableJson(entries), R"({"title": "Entries", "kind": "EntryPages", "entries": 450})");
    ReportTable list("Group", TableKind::List);
    list.AddColumn("id", {Text("1"), Text("2")});
    list.AddColumn("x", {Text("3"), Text("4")});
    EXPECT_EQ(TableJson(list),
              R"({"title": "Group", "kind": "List", "headers": ["id", "x"], "columns": [["1", "2"], ["3", "4"]]})");
    ReportTable empty("Group", TableKind::List);
    EXPECT_EQ(TableJson(empty), R"({"title": "Group", "kind": "List", "headers": [], "columns": []})");
}
