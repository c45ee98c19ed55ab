#include "toolkit/preference.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>

#include "toolkit/preference_manager.h"
#include "toolkit/text_number.h"

namespace {

// The bytes of a text up to its zero, never beyond length.
std::string_view boundedText(const uint8_t* bytes, int32_t length) {
    if (bytes == nullptr || length <= 0) return {};
    const auto* text = reinterpret_cast<const char*>(bytes);
    return {text, strnlen(text, static_cast<size_t>(length))};
}

int32_t saturate(double value) {
    if (!(value == value)) return 0;
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

} // namespace

CCPreference::CCPreference(int32_t kind, int32_t size, uint16_t id, const char* name,
                           CCPreferenceManager* owner, int32_t userFlag)
    : kind(kind), size(size), id(id), owner(owner), userFlag(userFlag) {
    if (name != nullptr) std::strncpy(valueName, name, kValueNameSize - 1);
}

CCPreference::~CCPreference() = default;

const char* CCPreference::text() {
    return nullptr;
}
int32_t CCPreference::intValue() {
    return 0;
}
float CCPreference::floatValue() {
    return 0.0f;
}
const uint8_t* CCPreference::data() {
    return nullptr;
}
bool CCPreference::isVariableSize() {
    return false;
}
float CCPreference::defaultFloat() {
    return 0.0f;
}
int32_t CCPreference::defaultInt() {
    return 0;
}
void CCPreference::assign(double) {}
void CCPreference::assignFromText(const uint8_t*, int32_t) {}

bool CCPreference::set(double value, bool save) {
    assign(value);
    const bool saved = !save || owner == nullptr || owner->write(*this);
    CCPreferenceManager::broadcast(*this);
    return saved;
}

bool CCPreference::setFromData(const uint8_t* bytes, bool save, int32_t length) {
    assignFromText(bytes, length);
    const bool saved = !save || owner == nullptr || owner->write(*this);
    CCPreferenceManager::broadcast(*this);
    return saved;
}

CCIntPreference::CCIntPreference(uint16_t id, const char* name, CCPreferenceManager* owner,
                                 int32_t defaultValue, int32_t userFlag)
    : CCPreference(Integer, 64, id, name, owner, userFlag), current(defaultValue),
      defaultValue(defaultValue) {}

const char* CCIntPreference::text() {
    const auto result = std::to_chars(textBuffer, textBuffer + sizeof textBuffer - 1, current);
    *result.ptr = '\0';
    return textBuffer;
}

void CCIntPreference::assign(double value) {
    current = saturate(value);
}

void CCIntPreference::assignFromText(const uint8_t* bytes, int32_t length) {
    current = saturate(static_cast<double>(parseDecimalInteger(boundedText(bytes, length))));
}

CCFloatPreference::CCFloatPreference(uint16_t id, const char* name, CCPreferenceManager* owner,
                                     float defaultValue, int32_t userFlag)
    : CCPreference(Float, 64, id, name, owner, userFlag), current(defaultValue), defaultValue(defaultValue) {}

const char* CCFloatPreference::text() {
    // Six decimals, as "%f" writes them, but with a point in every locale.
    const auto result = std::to_chars(textBuffer, textBuffer + sizeof textBuffer - 1,
                                      static_cast<double>(current), std::chars_format::fixed, 6);
    *(result.ec == std::errc() ? result.ptr : textBuffer) = '\0';
    return textBuffer;
}

int32_t CCFloatPreference::intValue() {
    return saturate(current);
}

int32_t CCFloatPreference::defaultInt() {
    return saturate(defaultValue);
}

void CCFloatPreference::assign(double value) {
    current = static_cast<float>(value);
}

void CCFloatPreference::assignFromText(const uint8_t* bytes, int32_t length) {
    current = static_cast<float>(parseDecimalReal(boundedText(bytes, length)));
}

CCStringPreference::CCStringPreference(uint16_t id, const char* name, CCPreferenceManager* owner,
                                       const char* defaultValue)
    : CCPreference(String, kCapacity, id, name, owner, 0) {
    if (defaultValue != nullptr) std::strncpy(value, defaultValue, kCapacity - 1);
}

int32_t CCStringPreference::intValue() {
    return saturate(static_cast<double>(parseDecimalInteger(value)));
}

float CCStringPreference::floatValue() {
    return static_cast<float>(parseDecimalReal(value));
}

void CCStringPreference::assignFromText(const uint8_t* bytes, int32_t length) {
    const std::string_view text = boundedText(bytes, std::min(length, kCapacity - 1));
    std::memcpy(value, text.data(), text.size());
    value[text.size()] = '\0';
}

CCDataPreference::CCDataPreference(uint16_t id, const char* name, CCPreferenceManager* owner,
                                   const uint8_t* bytes, int32_t length)
    : CCPreference(Data, std::max(length, 0), id, name, owner, 0), variableSize(length == 0),
      block(std::make_unique<uint8_t[]>(static_cast<size_t>(std::max(length, 0)))) {
    if (bytes != nullptr && length > 0) std::memcpy(block.get(), bytes, static_cast<size_t>(length));
}

void CCDataPreference::assignFromText(const uint8_t* bytes, int32_t length) {
    if (length > 0 && length != size) {
        block = std::make_unique<uint8_t[]>(static_cast<size_t>(length));
        size = length;
    }
    if (bytes != nullptr && size > 0) std::memcpy(block.get(), bytes, static_cast<size_t>(size));
}
