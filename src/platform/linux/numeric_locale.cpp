// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "platform/number_format.h"

#include <langinfo.h>
#include <locale.h>

namespace vantric {

namespace {

// newlocale rather than setlocale/localeconv: it reads the environment the
// same way but leaves the process's locale alone.
std::optional<NumericLocale> numericOf(const char* name)
{
    locale_t loc = ::newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
    if (!loc)
        return std::nullopt;
    NumericLocale n;
    n.decimalPoint = ::nl_langinfo_l(RADIXCHAR, loc);
    n.groupSeparator = ::nl_langinfo_l(THOUSEP, loc);
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

} // namespace vantric
