#include "tools/cli/json_writer.h"

#include <cstdio>

void JsonWriter::separate() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (!filled.empty()) {
        if (filled.back()) out += ',';
        filled.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject() {
    separate();
    out += '{';
    filled.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    out += '}';
    filled.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray() {
    separate();
    out += '[';
    filled.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    out += ']';
    filled.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name) {
    value(name);
    out += ':';
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    separate();
    out += '"';
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x80) {
            // Pedal texts are 8-bit: anything outside ASCII is escaped as its byte value.
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
    return *this;
}

JsonWriter& JsonWriter::value(int64_t number) {
    separate();
    out += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    separate();
    out += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null() {
    separate();
    out += "null";
    return *this;
}
