#pragma once
// Finding an earlier record in a station's history file, whose records carry no index of their own.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace tintal {

// Index of the record about span days before record latest, assuming the constant interval (days)
// between records; truncated, never rounded. Computed in double and checked before any conversion,
// so a tiny or huge interval cannot overflow the index. Empty when that falls before record 1, which
// never counts.
inline std::optional<std::size_t> recordBefore(std::size_t latest, double span, double interval) {
    const double k = std::trunc(static_cast<double>(latest) - span / interval);
    if (!(k >= 1.0)) return std::nullopt;
    return std::min(latest, static_cast<std::size_t>(k));
}

}  // namespace tintal
