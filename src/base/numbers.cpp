#include "base/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tintal {

long long roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double diff = value - floor;
    double result;
    if (diff > 0.5) {
        result = floor + 1;
    } else if (diff < 0.5) {
        result = floor;
    } else {
        result = std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
    }
    return static_cast<long long>(result);
}

std::optional<int> strictToInt(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(value);
}

std::string formatFixed(double value, int decimals, char decimalSeparator) {
    // Halves go away from zero, as a reader rounds, and alike on every platform's C library.
    double scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    const double scaled = std::round(value * scale);
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 1e18) {
        char buffer[64];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        return buffer;
    }
    const auto units = static_cast<long long>(std::fabs(scaled));
    std::string digits = std::to_string(units);
    if (static_cast<int>(digits.size()) <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
    std::string text = scaled < 0 ? "-" : "";
    text += digits.substr(0, digits.size() - decimals);
    if (decimals > 0) {
        text += decimalSeparator;
        text += digits.substr(digits.size() - decimals);
    }
    return text;
}

}  // namespace tintal
