// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The handles by which this process holds its scratch files, so that a
// stop of the program can delete a run's file through them.

#include <windows.h>

#include <string>

namespace vantric {

void registerClaim(const std::string& path, HANDLE h);
void unregisterClaim(HANDLE h);
// Marks the claimed file at `path` for deletion; false when none is held.
// Safe to call from the thread that handles a console stop.
bool deleteClaimed(const std::string& path) noexcept;

// Marks the file behind `h` (opened with DELETE access) for deletion when
// its last handle closes.
bool markForDeletion(HANDLE h) noexcept;

} // namespace vantric
