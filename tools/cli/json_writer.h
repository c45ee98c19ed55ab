#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Builds compact JSON text: values are appended in order, and the writer puts
// the commas and quotes. Texts are 8-bit; bytes that are not valid UTF-8 are
// written as \u00XX so the output always parses.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);
    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(int64_t number);
    JsonWriter& value(int32_t number) { return value(static_cast<int64_t>(number)); }
    JsonWriter& value(bool flag);
    JsonWriter& null();

    const std::string& text() const { return out; }

private:
    void separate();
    std::string out;
    // Per open container: whether it already holds an element.
    std::vector<bool> filled;
    bool afterKey = false;
};
