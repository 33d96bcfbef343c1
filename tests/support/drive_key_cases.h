#pragma once
// Characters typed on the focused drive list, which lists drives C and D
// with the focus on C at first, and the drive each runs ('\0': none). The
// list's type-ahead would take a blank for the next row.

namespace vantric::test {

struct DriveKeyCase {
    char typed;
    char runs;
};

inline constexpr DriveKeyCase kDriveKeyCases[] = {
    {' ', 'C'}, {'\r', 'C'}, {'d', 'D'}, {'\r', 'D'}, {'C', 'C'}, {'x', 0}, {'1', 0}, {'-', 0}, {' ', 'C'},
};

} // namespace vantric::test
