#include "toolkit/version_text.h"

#include <cstdio>

namespace {

struct Parts {
    unsigned major, minor, revision, number;
};

Parts split(uint32_t word) {
    return {word >> 24, word >> 20 & 0xF, word >> 16 & 0xF, word & 0xFFFF};
}

} // namespace

std::string pedalVersionText(uint32_t word) {
    const Parts v = split(word);
    char text[48];
    if (v.number != 0)
        std::snprintf(text, sizeof text, "%01u.%01u%01ubeta%02u", v.major, v.minor, v.revision, v.number);
    else
        std::snprintf(text, sizeof text, "%01u.%01u%01u", v.major, v.minor, v.revision);
    return text;
}

std::string fourPartVersionText(uint32_t word, VersionMarks marks) {
    const Parts v = split(word);
    char text[48];
    if (v.number != 0)
        std::snprintf(text, sizeof text, "%01u.%01u.%01u.%01u", v.major, v.minor, v.revision, v.number);
    else
        std::snprintf(text, sizeof text, "%01u.%01u.%01u", v.major, v.minor, v.revision);
    std::string out = text;
    if (marks.beta) out += " BETA";
    if (marks.demo) out += " Demo";
    return out;
}

std::string deviceVersionText(uint32_t major, uint32_t minor, uint32_t build) {
    char text[48];
    std::snprintf(text, sizeof text, "%01u.%01u.%02u", major, minor, build);
    return text;
}
