// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/number_format.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <deque>
#include <string_view>

namespace vantric {

namespace {

std::string groupDigits(std::string_view digits, const NumericLocale& loc)
{
    if (loc.groupSeparator.empty())
        return std::string(digits);
    std::deque<std::string_view> parts;
    std::size_t pos = digits.size();
    std::size_t next = 0;
    int size = 0;
    while (pos > 0) {
        if (next < loc.grouping.size()) {
            auto g = static_cast<unsigned char>(loc.grouping[next++]);
            size = (g == 0 || g >= CHAR_MAX) ? 0 : g;
        } // past the end the last size repeats
        if (size <= 0 || pos <= static_cast<std::size_t>(size))
            break;
        parts.push_front(digits.substr(pos - size, size));
        pos -= size;
    }
    parts.push_front(digits.substr(0, pos));
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += loc.groupSeparator;
        out += parts[i];
    }
    return out;
}

} // namespace

std::string formatFixed(double value, int decimals, bool grouping, bool leadingZero,
                        const NumericLocale& loc)
{
    // A double has at most 309 integer digits; the decimals come on top.
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string_view s(buf, ec == std::errc() ? static_cast<std::size_t>(end - buf) : 0);
    bool negative = !s.empty() && s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    std::string_view intPart = s, frac;
    if (auto dot = s.find('.'); dot != std::string_view::npos) {
        intPart = s.substr(0, dot);
        frac = s.substr(dot + 1);
    }
    std::string whole = grouping ? groupDigits(intPart, loc) : std::string(intPart);
    if (!leadingZero && whole == "0")
        whole.clear();
    // -0.001 rounded to two places reads 0.00, not -0.00.
    if (negative && intPart.find_first_not_of('0') == std::string_view::npos
        && frac.find_first_not_of('0') == std::string_view::npos)
        negative = false;
    std::string out = negative ? "-" : "";
    out += whole;
    if (decimals > 0) {
        out += loc.decimalPoint;
        out += frac;
    }
    return out;
}

} // namespace vantric
