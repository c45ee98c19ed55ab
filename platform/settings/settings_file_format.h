#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

// The text form of one key's values: a comment line, then one line per value,
// NAME=TYPE:DATA with TYPE s (text), b (hex bytes) or n (decimal number).
// Names and texts escape '%', '=' and control characters as %XX, so any
// value survives a round trip.
using SettingsFileValues = std::map<std::string, SettingValue, std::less<>>;

std::string formatSettingsFile(const SettingsFileValues& values);
// Nothing when any line is damaged: a damaged file counts as holding no values.
std::optional<SettingsFileValues> parseSettingsFile(std::string_view text);
