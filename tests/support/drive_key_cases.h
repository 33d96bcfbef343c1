// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// Characters typed on the drive list of C and D, focus on C at first, and the drive each runs ('\0': none).

namespace vantric::test {

struct DriveKeyCase {
    char typed;
    char runs;
};

inline constexpr DriveKeyCase kDriveKeyCases[] = {
    {' ', 'C'}, {'\r', 'C'}, {'d', 'D'}, {'\r', 'D'}, {'C', 'C'}, {'x', 0}, {'1', 0}, {'-', 0}, {' ', 'C'},
};

} // namespace vantric::test
