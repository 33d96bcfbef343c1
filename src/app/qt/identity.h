// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once

namespace vantric {

// The program's names: the command name, the version, and the application
// id that names the installed desktop entry, icon and metainfo.
inline constexpr const char* kAppName = "vantric";
const char* appVersion();
const char* appId();

// Tells Qt the names above, before the application object exists, so that the
// window system can match the windows to the desktop entry (the Wayland app
// id comes from the desktop file name, the X11 window class from the name).
// No display name: Qt would append it to every title.
void announceIdentity();

} // namespace vantric
