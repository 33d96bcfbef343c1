// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/number_format.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <optional>

namespace vantric {

namespace {

// nullopt where iconv knows neither charset or `text` does not fit in `to`.
std::optional<std::string> convert(const std::string& text, const char* to, const char* from)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string in = text, out(text.size() * 4 + 16, '\0');
    char* src = in.data();
    char* dst = out.data();
    std::size_t left = in.size(), room = out.size();
    const bool done = ::iconv(cd, &src, &left, &dst, &room) != static_cast<std::size_t>(-1)
                      && ::iconv(cd, nullptr, nullptr, &dst, &room) != static_cast<std::size_t>(-1);
    ::iconv_close(cd);
    if (!done)
        return std::nullopt;
    out.resize(out.size() - room);
    return out;
}

// newlocale rather than setlocale/localeconv: it reads the environment the
// same way but leaves the process's locale alone. The separators come in
// the locale's own charset; the window and the program's text are UTF-8.
std::optional<NumericLocale> numericOf(const char* name)
{
    locale_t loc = ::newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (!loc)
        return std::nullopt;
    const char* charset = ::nl_langinfo_l(_NL_NUMERIC_CODESET, loc);
    auto utf8 = [&](const char* text) { return convert(text, "UTF-8", charset).value_or(""); };
    NumericLocale n;
    n.decimalPoint = utf8(::nl_langinfo_l(RADIXCHAR, loc));
    n.groupSeparator = utf8(::nl_langinfo_l(THOUSEP, loc));
    n.grouping = ::nl_langinfo_l(GROUPING, loc);
    ::freelocale(loc);
    if (n.decimalPoint.empty())
        n.decimalPoint = ".";
    return n;
}

} // namespace

NumericLocale environmentNumericLocale()
{
    if (auto n = numericOf(""))
        return *n;
    return *numericOf("C");
}

std::optional<NumericLocale> namedNumericLocale(const std::string& name)
{
    return numericOf(name.c_str());
}

std::string inUserCharset(const std::string& utf8)
{
    locale_t loc = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (!loc)
        loc = ::newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string charset = loc ? ::nl_langinfo_l(CODESET, loc) : "UTF-8";
    if (loc)
        ::freelocale(loc);
    if (charset == "UTF-8")
        return utf8;
    // What the charset lacks (a no-break space in ASCII) is written as its
    // nearest ASCII.
    return convert(utf8, (charset + "//TRANSLIT").c_str(), "UTF-8").value_or(utf8);
}

} // namespace vantric
