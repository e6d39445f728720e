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
    kv.rows.push_back({"Name", Text::FromFile("<x>"), Span::Bytes(40, 4), false});
    kv.rows.push_back({"Language", Text("und"), Span{261, 15}, true});
    kv.rows.push_back({"Start offset", Text("0"), {}, false});
    EXPECT_EQ(TableJson(kv),
              R"({"title": "Movie Box", "kind": "KeyValue", "rows": [{"label": "Name", "value": "<x>", "at": [40, 4]}, )"
              R"({"label": "Language", "value": "und", "at": [32, 3], "bits": [261, 15], "derived": true}, )"
              R"({"label": "Start offset", "value": "0"}]})");
    ReportTable entries("Entries", TableKind::EntryPages);
    entries.entryCount = 450;
    entries.entriesSpan = Span::Bytes(100, 3600);
    EXPECT_EQ(TableJson(entries), R"({"title": "Entries", "kind": "EntryPages", "entries": 450, "at": [100, 3600]})");
    ReportTable list("Group", TableKind::List);
    list.headers = {"id", "x"};
    list.listRows.push_back({{Text("1"), Text("3")}, Span::Bytes(8, 4)});
    list.listRows.push_back({{Text("2"), Text("4")}, {}});
    EXPECT_EQ(TableJson(list), R"({"title": "Group", "kind": "List", "headers": ["id", "x"], "rows": [)"
                               R"({"cells": ["1", "3"], "at": [8, 4]}, {"cells": ["2", "4"]}]})");
    ReportTable selects("traf", TableKind::SampleLists);
    selects.selects.push_back({5, 3, 9, 450});
    EXPECT_EQ(TableJson(selects),
              R"({"title": "traf", "kind": "SampleLists", "selects": [{"box": 5, "moof": 3, "mdat": 9, "samples": 450}]})");
}
