// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// How the main window appears to assistive technology (AT-SPI, what screen
// readers read): a frame, without the storage controls.

namespace vantric {

class MainWindow;

// At the end of the window's constructor.
void exposeToAssistiveTechnology(MainWindow& w);

} // namespace vantric
