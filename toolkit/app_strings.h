#pragma once

#include <cstdint>
#include <string>

// The application's string table; id 0 is the display name that message box
// titles carry ("Tovan Editor Warning").
inline constexpr uint32_t kAppDisplayName = 0;

void setAppString(uint32_t id, std::string text);
// The text for id, or the empty string.
const std::string& appString(uint32_t id);
