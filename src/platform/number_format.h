#pragma once
// Numbers rendered with the decimal mark and thousands grouping of the
// user's locale.

#include <string>

namespace vantric {

struct NumericLocale {
    std::string decimalPoint = ".";
    std::string groupSeparator = ",";
};

// value rounded to `decimals` places. grouping: thousands separators in the
// integer part. leadingZero: false drops a lone 0 before the decimal mark,
// as the "#" digits of a format pattern do (".5000").
std::string formatFixed(double value, int decimals, bool grouping, bool leadingZero,
                        const NumericLocale& loc);

} // namespace vantric
