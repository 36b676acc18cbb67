#include "tools/inspect/json_writer.h"

#include <gtest/gtest.h>

#include <limits>

TEST(JsonWriter, NestsObjectsAndArraysWithCommasOnlyBetweenMembers) {
    JsonWriter json;
    json.beginObject().key("name").value("wall.tga").key("size").beginArray().value(64).value(-1).endArray();
    json.key("scale").value(0.5).key("empty").beginObject().endObject().key("alpha").value(false).endObject();
    EXPECT_EQ(json.text(), R"({"name":"wall.tga","size":[64,-1],"scale":0.5,"empty":{},"alpha":false})");
}

TEST(JsonWriter, EscapesStringsAndReplacesInvalidUtf8) {
    struct Case {
        std::string text;
        std::string written;
    };
    const Case cases[] = {
        {"maps\\rock \"old\"", R"("maps\\rock \"old\"")"},
        {std::string("tab\there\nnul\0.", 14), R"("tab\u0009here\u000anul\u0000.")"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82", "\"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82\""},
        {"latin1 \xE9t\xE9", "\"latin1 \xEF\xBF\xBDt\xEF\xBF\xBD\""},
        {"overlong \xC0\xAF, surrogate \xED\xA0\x80, cut \xE2\x82",
         "\"overlong \xEF\xBF\xBD\xEF\xBF\xBD, surrogate "
         "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD, cut "
         "\xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const Case& c : cases) EXPECT_EQ(JsonWriter().value(c.text).text(), c.written) << c.text;
}

TEST(JsonWriter, NumbersReadBackExactlyAndNonFiniteOnesAreNull) {
    EXPECT_EQ(JsonWriter().value(0.1).text(), "0.1");
    EXPECT_EQ(JsonWriter().value(int64_t{-9007199254740993}).text(), "-9007199254740993");
    EXPECT_EQ(JsonWriter().value(std::numeric_limits<double>::infinity()).text(), "null");
    EXPECT_EQ(JsonWriter().value(std::numeric_limits<double>::quiet_NaN()).text(), "null");
}
