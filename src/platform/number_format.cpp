#include "platform/number_format.h"

#include <cstdio>
#include <vector>

namespace vantric {

std::string formatFixed(double value, int decimals, bool grouping, bool leadingZero,
                        const NumericLocale& loc)
{
    std::vector<char> buf(400);
    int n = std::snprintf(buf.data(), buf.size(), "%.*f", decimals, value);
    std::string s(buf.data(), n > 0 ? static_cast<size_t>(n) : 0);
    std::string sign;
    if (!s.empty() && s[0] == '-') {
        sign = "-";
        s.erase(0, 1);
    }
    std::string intPart = s, frac;
    if (auto dot = s.find('.'); dot != std::string::npos) {
        intPart = s.substr(0, dot);
        frac = s.substr(dot + 1);
    }
    if (grouping && intPart.size() > 3) {
        std::string g;
        size_t lead = intPart.size() % 3;
        for (size_t i = 0; i < intPart.size(); ++i) {
            if (i != 0 && (i - lead) % 3 == 0 && i >= lead)
                g += loc.groupSeparator;
            g += intPart[i];
        }
        intPart = g;
    }
    if (!leadingZero && intPart == "0")
        intPart.clear();
    if (sign == "-" && intPart.empty() && frac.find_first_not_of('0') == std::string::npos)
        sign.clear();
    return sign + intPart + (decimals > 0 ? loc.decimalPoint + frac : std::string());
}

} // namespace vantric
