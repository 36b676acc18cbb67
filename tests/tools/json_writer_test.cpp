#include "tools/inspect/json_writer.h"

#include <gtest/gtest.h>

#include <limits>

TEST(JsonWriter, NestsWithCommasOnlyBetweenMembersAndWritesNumbersExactly) {
    JsonWriter json;
    json.beginObject().key("size").beginArray().value(64).value(int64_t{-9007199254740993}).endArray();
    json.key("scale").value(0.1).key("empty").beginObject().endObject().key("alpha").value(false);
    json.key("nan").value(std::numeric_limits<double>::quiet_NaN()).endObject();
    EXPECT_EQ(json.text(), R"({"size":[64,-9007199254740993],"scale":0.1,"empty":{},"alpha":false,"nan":null})");
}

TEST(JsonWriter, EscapesStringsAndReplacesInvalidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"maps\\rock \"old\"", R"("maps\\rock \"old\"")"},
        {std::string("tab\tnul\0.", 9), R"("tab\u0009nul\u0000.")"},
        {"caf\xC3\xA9 \xF0\x9F\x99\x82", "\"caf\xC3\xA9 \xF0\x9F\x99\x82\""},
        {"\xE9t\xE9 \xC0\xAF \xE2\x82",
         "\"\xEF\xBF\xBDt\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD\""},
    };
    for (const auto& [text, written] : cases) EXPECT_EQ(JsonWriter().value(text).text(), written) << text;
}

TEST(JsonWriter, FloatsInNineDigitsThatReadBackAsTheSameFloat) {
    JsonWriter json;
    json.beginArray().value(0.3f).value(-1.57f).value(640.0f).value(1e-9f);
    json.value(std::numeric_limits<float>::infinity()).endArray();
    EXPECT_EQ(json.text(), "[0.300000012,-1.57000005,640,9.99999972e-10,null]");
}
