// The simulated pedal's state as JSON, so that tests outside the process can
// check what the editor did to it.

#include "sim/sim_pedal.h"

#include <cstdio>
#include <string>

namespace tovan::sim {
namespace {

// Fixed-width pedal text up to its first zero, escaped for JSON.
void appendText(std::string& out, const char* text, size_t width) {
    out += '"';
    for (size_t i = 0; i < width && text[i] != 0; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}

template <typename Container>
void appendNumbers(std::string& out, const Container& values) {
    out += '[';
    bool first = true;
    for (auto v : values) {
        if (!first) out += ',';
        first = false;
        out += std::to_string(static_cast<int>(v));
    }
    out += ']';
}

} // namespace

std::string SimPedal::stateJson() const {
    std::string out = "{";
    auto key = [&](const char* name) {
        if (out.size() > 1) out += ',';
        out += '"';
        out += name;
        out += "\":";
    };
    auto boolean = [&](const char* name, bool value) {
        key(name);
        out += value ? "true" : "false";
    };
    auto number = [&](const char* name, uint64_t value) {
        key(name);
        out += std::to_string(value);
    };

    key("name");
    appendText(out, reinterpret_cast<const char*>(name_.data()), name_.size());
    key("firmware");
    out += '"' + std::to_string(options_.firmware[0]) + '.' + std::to_string(options_.firmware[1]) + '.' +
           std::to_string(options_.firmware[2]) + '"';
    number("serial", options_.serial);
    number("active_preset", activePreset_);
    boolean("edited", edited_);
    boolean("locked", locked_);
    boolean("mode_switch", modeSwitch_);
    boolean("update_mode", updateMode_);
    boolean("unplugged", unplugged_);
    boolean("name_saved", !namePending_);

    key("counters");
    out += "{\"output_reports\":" + std::to_string(counters_.outputReports) +
           ",\"input_reports\":" + std::to_string(counters_.inputReports) +
           ",\"exchanges\":" + std::to_string(counters_.exchanges) +
           ",\"writes\":" + std::to_string(counters_.writes) +
           ",\"requests\":" + std::to_string(counters_.requests) +
           ",\"failed\":" + std::to_string(counters_.failed) +
           ",\"dropped\":" + std::to_string(counters_.dropped) +
           ",\"late\":" + std::to_string(counters_.late) +
           ",\"malformed\":" + std::to_string(counters_.malformed) +
           ",\"unknown\":" + std::to_string(counters_.unknown) + "}";

    key("globals");
    appendNumbers(out, globals_);
    key("edit_buffer");
    out += "{\"common\":";
    appendNumbers(out, editBuffer_.common);
    out += ",\"filter\":[";
    appendNumbers(out, editBuffer_.filter[0]);
    out += ',';
    appendNumbers(out, editBuffer_.filter[1]);
    out += "],\"detail\":[";
    appendNumbers(out, editBuffer_.detail[0]);
    out += ',';
    appendNumbers(out, editBuffer_.detail[1]);
    out += "]}";

    key("user_presets");
    out += '[';
    for (size_t i = 0; i < userPresets_.size(); ++i) {
        if (i) out += ',';
        out += "{\"name\":";
        appendText(out, userPresets_[i].name.data(), userPresets_[i].name.size());
        out += ",\"description\":";
        appendText(out, userPresets_[i].description.data(), userPresets_[i].description.size());
        out += '}';
    }
    out += ']';

    key("setlists");
    out += '[';
    for (size_t i = 0; i < setlists_.size(); ++i) {
        if (i) out += ',';
        out += "{\"name\":";
        appendText(out, setlists_[i].name.data(), setlists_[i].name.size());
        out += ",\"flag\":" + std::to_string(setlists_[i].flag) + ",\"presets\":";
        appendNumbers(out, setlists_[i].preset);
        out += ",\"programs\":";
        appendNumbers(out, setlists_[i].program);
        out += '}';
    }
    out += "]}";
    return out;
}

} // namespace tovan::sim
