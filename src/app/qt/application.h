// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once

namespace vantric {

// Starts the program; returns its exit code.
int runApplication(int argc, char** argv);

} // namespace vantric
