#include "model/parameter_kinds.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "model/parameter_rounding.h"
#include "toolkit/text_number.h"

namespace {

long clampToRange(long n, int32_t low, int32_t high) {
    return std::clamp<long>(n, low, std::max(low, high));
}

} // namespace

PARAMETER_SWITCH::PARAMETER_SWITCH(int32_t index, PARAMETER_MANAGER* manager, float initial, int32_t intMin,
                                   int32_t intMax, int32_t intAttr)
    : PARAMETER(index, manager, initial, intMin, intMax, intAttr, 0) {}

PARAMETER_SWITCH::~PARAMETER_SWITCH() = default;

void PARAMETER_SWITCH::SetRaw(int a) {
    raw = static_cast<uint8_t>(a);
    const int bits = (a & mask) >> shift;
    // A switch without a range has nothing to normalise against.
    SetValue(intMax != 0 ? static_cast<float>(bits) / static_cast<float>(intMax) : 0.0f);
}

void PARAMETER_SWITCH::UpdateRaw() {
    const uint8_t steps = static_cast<uint8_t>(intMax);
    raw = static_cast<uint8_t>(roundToByte(value, steps) << shift);
}

PARAMETER_FIXEDSTRING::PARAMETER_FIXEDSTRING(int32_t index, PARAMETER_MANAGER* manager)
    : PARAMETER(index, manager, 0.0f, 0, 0, 1, 3), buffer(std::make_unique<uint8_t[]>(kLength)) {
    label = reinterpret_cast<char*>(buffer.get());
}

PARAMETER_FIXEDSTRING::~PARAMETER_FIXEDSTRING() = default;

void PARAMETER_FIXEDSTRING::SetData(const uint8_t* bytes) {
    if (bytes != nullptr) std::memcpy(buffer.get(), bytes, kLength);
}

void PARAMETER_FIXEDSTRING::Format(char* out, int, int) {
    if (out == nullptr) return;
    std::memcpy(out, buffer.get(), kLength);
    out[kLength] = '\0';
}

float PARAMETER_FIXEDSTRING::ParseString(const char* text) {
    std::memset(buffer.get(), 0, kLength);
    if (text != nullptr) std::memcpy(buffer.get(), text, strnlen(text, kLength));
    return 0.0f;
}

PARAMETER_GENERIC_BYTEu::PARAMETER_GENERIC_BYTEu(int32_t index, PARAMETER_MANAGER* manager, float initial,
                                                 int32_t intValue, uint8_t scale, int32_t intMin,
                                                 int32_t intMax, int32_t intAttr)
    : PARAMETER(index, manager, initial, intMin, intMax, intAttr, 0) {
    this->intValue = intValue;
    this->scale = scale;
}

PARAMETER_GENERIC_BYTEu::~PARAMETER_GENERIC_BYTEu() = default;

void PARAMETER_GENERIC_BYTEu::SetValue(float x) {
    value = x;
    intValue = roundToByte(x, scale);
}

void PARAMETER_GENERIC_BYTEu::Format(char* out, int, int) {
    if (out != nullptr) std::snprintf(out, kParameterTextSize, "%d", intValue);
}

float PARAMETER_GENERIC_BYTEu::ParseString(const char* text) {
    const long n = clampToRange(parseDecimalInteger(text != nullptr ? text : ""), intMin, intMax);
    return scale != 0 ? static_cast<float>(n) / static_cast<float>(scale) : 0.0f;
}

void PARAMETER_GENERIC_BYTEu::SetRaw(int a) {
    raw = static_cast<uint8_t>(a);
    intValue = a & 255;
    if (scale != 0) SetValue(static_cast<float>(a & 255) / static_cast<float>(scale));
}

PARAMETER_GENERIC_INT32s::PARAMETER_GENERIC_INT32s(int32_t index, PARAMETER_MANAGER* manager, float initial)
    : PARAMETER(index, manager, initial, 0, 0, 1, 0) {
    intValue = 0;
}

PARAMETER_GENERIC_INT32s::~PARAMETER_GENERIC_INT32s() = default;

void PARAMETER_GENERIC_INT32s::SetValue(float x) {
    value = x;
    intValue = truncateToInt32(x);
}

void PARAMETER_GENERIC_INT32s::SetFromWord(int a) {
    intValue = static_cast<uint16_t>(a);
    SetValue(static_cast<float>(intValue));
}

void PARAMETER_GENERIC_INT32s::SetDisplayFormat(float step, const char* format) {
    displayStep = step;
    displayFormat = format != nullptr ? format : "";
    hasDisplayFormat = true;
}

void PARAMETER_GENERIC_INT32s::Format(char* out, int, int) {
    if (out == nullptr) return;
    if (hasDisplayFormat) {
        // The format is one of our own tables' ("%.1f"), never user text.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
        std::snprintf(out, kParameterTextSize, displayFormat.c_str(),
                      static_cast<double>(displayStep) * intValue);
#pragma GCC diagnostic pop
    } else {
        std::snprintf(out, kParameterTextSize, "%i", intValue);
    }
}

float PARAMETER_GENERIC_INT32s::ParseString(const char* text) {
    if (hasDisplayFormat && displayStep != 0.0f) {
        const float v = static_cast<float>(parseDecimalReal(text != nullptr ? text : "") /
                                           static_cast<double>(displayStep));
        return std::clamp(v, static_cast<float>(intMin), static_cast<float>(std::max(intMin, intMax)));
    }
    return static_cast<float>(clampToRange(parseDecimalInteger(text != nullptr ? text : ""), intMin, intMax));
}
