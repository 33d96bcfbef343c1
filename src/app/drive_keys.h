// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// What a typed character does on the drive list, for every window system:
// the list's own type-ahead would match the blank every row starts with.

#include <span>
#include <string>

namespace vantric {

struct DriveKey {
    enum Kind {
        Ignore,        // no drive has that letter: nothing happens
        ChooseCurrent, // Space or Enter: the focused row is chosen
        ChooseRow,     // a drive letter: its row is chosen
    } kind = Ignore;
    int row = -1;
};

// rows: the drive list's rows, whose second character is the drive letter.
DriveKey driveKey(char32_t typed, std::span<const std::string> rows);

} // namespace vantric
