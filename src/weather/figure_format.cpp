#include "weather/figure_format.h"

#include "base/numbers.h"

namespace tintal {

std::string figureCaption(const FigureFormat& figure, std::optional<double> value, char decimalSeparator) {
    return figure.prefix + (value ? formatFixed(*value, figure.decimals, decimalSeparator) : std::string("--"));
}

}  // namespace tintal
