#include "toolkit/text_number.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

std::string_view afterBlanksAndSign(std::string_view text, bool& negative) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    return text;
}

} // namespace

long parseDecimalInteger(std::string_view text) {
    bool negative = false;
    const std::string_view digits = afterBlanksAndSign(text, negative);
    long n = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), n);
    if (result.ec == std::errc::result_out_of_range)
        return negative ? std::numeric_limits<long>::min() : std::numeric_limits<long>::max();
    if (result.ec != std::errc()) return 0;
    return negative ? -n : n;
}

double parseDecimalReal(std::string_view text) {
    bool negative = false;
    const std::string_view digits = afterBlanksAndSign(text, negative);
    double x = 0.0;
    const auto result =
        std::from_chars(digits.data(), digits.data() + digits.size(), x, std::chars_format::general);
    if (result.ec != std::errc() || !std::isfinite(x)) return 0.0;
    return negative ? -x : x;
}
