// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The non-empty fields of a list such as "a;b" or "rw,compress=zstd".

#include <string>
#include <vector>

namespace vantric {

inline std::vector<std::string> splitOn(const std::string& s, char sep)
{
    std::vector<std::string> out;
    for (std::size_t start = 0; start <= s.size();) {
        std::size_t end = s.find(sep, start);
        if (end == std::string::npos)
            end = s.size();
        if (end > start)
            out.push_back(s.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

} // namespace vantric
