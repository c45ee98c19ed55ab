#include "platform/settings/settings_file_format.h"

#include <charconv>
#include <cstdio>

namespace {

constexpr char kHex[] = "0123456789abcdef";

std::string escape(std::string_view text) {
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F || c == '%' || c == '=') {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexDigit(text[i + 1]);
        const int low = hexDigit(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        out += static_cast<char>(high << 4 | low);
        i += 2;
    }
    return out;
}

std::optional<SettingValue> parseValue(std::string_view data) {
    if (data.size() < 2 || data[1] != ':') return std::nullopt;
    const std::string_view payload = data.substr(2);
    switch (data[0]) {
    case 's': {
        auto text = unescape(payload);
        if (!text) return std::nullopt;
        return SettingValue::string(*text);
    }
    case 'b': {
        if (payload.size() % 2 != 0) return std::nullopt;
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i < payload.size(); i += 2) {
            const int high = hexDigit(payload[i]);
            const int low = hexDigit(payload[i + 1]);
            if (high < 0 || low < 0) return std::nullopt;
            bytes.push_back(static_cast<uint8_t>(high << 4 | low));
        }
        return SettingValue::binary(std::move(bytes));
    }
    case 'n': {
        uint32_t n = 0;
        const auto [end, error] = std::from_chars(payload.data(), payload.data() + payload.size(), n);
        if (error != std::errc() || end != payload.data() + payload.size()) return std::nullopt;
        return SettingValue::number(n);
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::string formatSettingsFile(const SettingsFileValues& values) {
    std::string out = "# Tovan settings: NAME=TYPE:DATA (s text, b hex bytes, n number)\n";
    for (const auto& [name, value] : values) {
        out += escape(name);
        out += '=';
        switch (value.type) {
        case SettingType::String:
            out += "s:";
            out += escape(value.text());
            break;
        case SettingType::Binary:
            out += "b:";
            for (uint8_t b : value.bytes) {
                out += kHex[b >> 4];
                out += kHex[b & 15];
            }
            break;
        case SettingType::Number:
            out += "n:" + std::to_string(value.asNumber().value_or(0));
            break;
        }
        out += '\n';
    }
    return out;
}

std::optional<SettingsFileValues> parseSettingsFile(std::string_view text) {
    SettingsFileValues values;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos || equals == 0) return std::nullopt;
        auto name = unescape(line.substr(0, equals));
        auto value = parseValue(line.substr(equals + 1));
        if (!name || !value) return std::nullopt;
        values.insert_or_assign(std::move(*name), std::move(*value));
    }
    return values;
}
