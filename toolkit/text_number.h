#pragma once

#include <string_view>

// Decimal number parsing that does not depend on the process locale: leading
// blanks and one sign are accepted, parsing stops at the first character that
// does not fit ("12abc" is 12), and text without digits reads as zero.
// Integers beyond the range of long saturate.
long parseDecimalInteger(std::string_view text);
double parseDecimalReal(std::string_view text);
