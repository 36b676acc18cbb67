#include "tools/inspect/json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// Bytes in the sequence a lead byte starts; 0 for a byte that cannot lead one.
size_t expectedLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead < 0xC2) return 0;  // a continuation byte, or the lead of an overlong form
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF5) return 4;
    return 0;
}

// Length of the valid UTF-8 sequence at the start of text, or 0.
size_t utf8SequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = expectedLength(lead);
    if (length == 0 || length > text.size()) return 0;
    uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0;
        codePoint = codePoint << 6 | (next & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < smallest[length] || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

}  // namespace

JsonWriter& JsonWriter::beginObject() {
    open('{');
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    close('}');
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    open('[');
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    close(']');
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    separate();
    appendString(name);
    output += ':';
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    appendString(text);
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    output += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(double number) {
    separate();
    if (!std::isfinite(number)) {
        output += "null";
        return *this;
    }
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, number).ptr;
    output.append(digits, end);
    return *this;
}

JsonWriter& JsonWriter::value(float number) {
    separate();
    if (!std::isfinite(number)) {
        output += "null";
        return *this;
    }
    char digits[32];
    const int length = std::snprintf(digits, sizeof digits, "%.9g", static_cast<double>(number));
    output.append(digits, static_cast<size_t>(length));
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    output += "null";
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    output += flag ? "true" : "false";
    return *this;
}

void JsonWriter::separate() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (firstInLevel.empty()) return;
    if (!firstInLevel.back()) output += ',';
    firstInLevel.back() = false;
}

void JsonWriter::open(char bracket) {
    separate();
    output += bracket;
    firstInLevel.push_back(true);
}

void JsonWriter::close(char bracket) {
    output += bracket;
    firstInLevel.pop_back();
}

void JsonWriter::appendString(std::string_view text) {
    output += '"';
    while (!text.empty()) {
        const size_t length = utf8SequenceLength(text);
        const char c = text[0];
        if (length == 0)
            output += "\xEF\xBF\xBD";  // U+FFFD
        else if (c == '"' || c == '\\')
            (output += '\\') += c;
        else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            output += escape;
        } else
            output.append(text.substr(0, length));
        text.remove_prefix(length == 0 ? 1 : length);
    }
    output += '"';
}
