// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// A locale's numeric data as the C library may give it: a double, the
// decimals, then decimal mark, separator and grouping, NUL-separated.
#include "platform/number_format.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    double value = 0;
    if (size < sizeof value + 1)
        return 0;
    std::memcpy(&value, data, sizeof value);
    const int decimals = data[sizeof value] % 20;
    std::string fields[3];
    int at = 0;
    for (std::size_t i = sizeof value + 1; i < size; ++i)
        data[i] || at == 2 ? (void)fields[at].push_back(static_cast<char>(data[i])) : (void)++at;
    const vantric::NumericLocale loc {fields[0], fields[1], fields[2]};
    for (int flags = 0; flags < 4; ++flags)
        vantric::formatFixed(value, decimals, flags & 1, flags & 2, loc);
    return 0;
}
