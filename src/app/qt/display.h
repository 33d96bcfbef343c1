#pragma once
// Whether a window can be shown, found out before Qt is started: Qt ends the
// process with an abort when its platform cannot connect.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vantric {

// The window-system platforms Qt tries, in its order: those named by
// QT_QPA_PLATFORM, else Wayland then X11 in a Wayland session, else X11.
std::vector<std::string> qtPlatformCandidates();

// Why none of the platforms can show a window, naming each display tried;
// nullopt when one can (or when a platform is one that cannot be checked
// here, such as offscreen). pluginInstalled: whether Qt has the platform
// plugin of that file name.
std::optional<std::string> displayProblem(const std::vector<std::string>& platforms,
                           const std::function<bool(const std::string& pluginFile)>& pluginInstalled);

} // namespace vantric
