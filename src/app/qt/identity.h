#pragma once

namespace vantric {

// The program's names: the command name, the name people see, the version,
// and the application id that names the installed desktop entry, icon and
// metainfo.
inline constexpr const char* kAppName = "vantric";
inline constexpr const char* kAppDisplayName = "Vantric";
const char* appVersion();
const char* appId();

// Tells Qt the names above, before the application object exists, so that the
// window system can match the windows to the desktop entry (the Wayland app
// id comes from the desktop file name, the X11 window class from the name).
void announceIdentity();

} // namespace vantric
