// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/windows/numeric_locale.h"
#include "platform/windows/win_text.h"

#include <windows.h>

#include <climits>

namespace vantric {

std::string groupingFromWindows(const std::string& sgrouping)
{
    std::string out;
    bool repeats = false;
    std::size_t pos = 0;
    while (pos <= sgrouping.size()) {
        std::size_t semi = sgrouping.find(';', pos);
        std::string part = sgrouping.substr(pos, semi == std::string::npos ? std::string::npos : semi - pos);
        int size = 0;
        for (char c : part)
            if (c >= '0' && c <= '9')
                size = size * 10 + (c - '0');
        if (size == 0) {
            repeats = !out.empty();
            break;
        }
        out += static_cast<char>(size < CHAR_MAX ? size : CHAR_MAX - 1);
        if (semi == std::string::npos)
            break;
        pos = semi + 1;
    }
    if (!out.empty() && !repeats)
        out += static_cast<char>(CHAR_MAX);
    return out;
}

namespace {

std::optional<std::string> info(const wchar_t* locale, LCTYPE type)
{
    wchar_t buf[32];
    int n = ::GetLocaleInfoEx(locale, type, buf, 32);
    if (n <= 0)
        return std::nullopt;
    return utf8(std::wstring(buf, static_cast<std::size_t>(n - 1)));
}

std::optional<NumericLocale> numericOf(const wchar_t* locale)
{
    auto dec = info(locale, LOCALE_SDECIMAL);
    auto sep = info(locale, LOCALE_STHOUSAND);
    auto grouping = info(locale, LOCALE_SGROUPING);
    if (!dec || !sep || !grouping)
        return std::nullopt;
    NumericLocale n;
    n.decimalPoint = dec->empty() ? "." : *dec;
    n.groupSeparator = *sep;
    n.grouping = groupingFromWindows(*grouping);
    return n;
}

} // namespace

NumericLocale environmentNumericLocale()
{
    if (auto n = numericOf(LOCALE_NAME_USER_DEFAULT))
        return *n;
    return NumericLocale {".", "", ""};
}

// A Windows locale name ("de-DE"); the C library's spelling ("de_DE.UTF-8")
// is taken too.
std::optional<NumericLocale> namedNumericLocale(const std::string& name)
{
    std::string bcp = name.substr(0, name.find('.'));
    for (char& c : bcp)
        if (c == '_')
            c = '-';
    const std::wstring w = wide(bcp);
    if (bcp.empty() || !::IsValidLocaleName(w.c_str()))
        return std::nullopt;
    return numericOf(w.c_str());
}

// Windows programs write their text files in UTF-8, as Notepad does.
std::string inUserCharset(const std::string& utf8)
{
    return utf8;
}

} // namespace vantric
