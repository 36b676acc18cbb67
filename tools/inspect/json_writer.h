#pragma once
// Builds one JSON text, compact, with keys in the order they are written.
// Strings are written as UTF-8; bytes that are not valid UTF-8 (a file name may
// hold any) become U+FFFD so the output always parses.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The next value's name inside an object.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(int64_t number);
    JsonWriter& value(int number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(unsigned number) { return value(static_cast<int64_t>(number)); }
    // Shortest text that reads back as the same double; NaN and infinities are null.
    JsonWriter& value(double number);
    // Nine significant digits ("%.9g"): enough to read back as the same float.
    JsonWriter& value(float number);
    JsonWriter& value(bool flag);
    JsonWriter& null();

    const std::string& text() const { return output; }

private:
    void separate();
    void open(char bracket);
    void close(char bracket);
    void appendString(std::string_view text);

    std::string output;
    std::vector<bool> firstInLevel;  // one entry a nesting level
    bool afterKey = false;
};
