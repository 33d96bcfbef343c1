// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Numbers rendered with the decimal mark and thousands grouping of the
// user's locale. The digits come from std::to_chars, so nothing here depends
// on the process's global locale (which the window toolkit changes at start).

#include <optional>
#include <string>

namespace vantric {

struct NumericLocale {
    std::string decimalPoint = ".";
    std::string groupSeparator = ",";
    // The C library's rule: group sizes from the right, the last one repeats;
    // a size of CHAR_MAX (or none at all) stops the grouping.
    std::string grouping = "\3";
};

// value rounded to `decimals` places. grouping: thousands separators in the
// integer part. leadingZero: false drops a lone 0 before the decimal mark,
// as the "#" digits of a format pattern do (".5000").
std::string formatFixed(double value, int decimals, bool grouping, bool leadingZero,
                        const NumericLocale& loc);

// The numeric conventions of the C library's locale that the environment
// names (LC_ALL, else LC_NUMERIC, else LANG), whether or not setlocale has
// been called; those of "C" when that locale is not installed.
NumericLocale environmentNumericLocale();

// Those of the named C-library locale; nullopt when it is not installed.
// Their texts are UTF-8, whatever the locale's charset.
std::optional<NumericLocale> namedNumericLocale(const std::string& name);

// The program's text (UTF-8) in the charset of the user's locale (LC_CTYPE
// as the environment names it), for what a terminal or a text editor reads:
// vantric-cli's output and the saved log.
std::string inUserCharset(const std::string& utf8);

// How text leaves for the user: a conversion from UTF-8, or none (UTF-8 as it is).
using TextCharset = std::string (*)(const std::string& utf8);

} // namespace vantric
