// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/drive_keys.h"

namespace vantric {

DriveKey driveKey(char32_t typed, std::span<const std::string> rows)
{
    if (typed == U' ' || typed == U'\r' || typed == U'\n')
        return {DriveKey::ChooseCurrent};
    if (typed >= U'a' && typed <= U'z')
        typed -= U'a' - U'A';
    if (typed < U'A' || typed > U'Z')
        return {};
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].size() >= 2 && static_cast<char32_t>(rows[i][1]) == typed)
            return {DriveKey::ChooseRow, static_cast<int>(i)};
    return {};
}

} // namespace vantric
