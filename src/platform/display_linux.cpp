#include "platform/display.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace vantric {

static bool canConnect(const std::string& socketPath)
{
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr {};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, socketPath.c_str(), sizeof(addr.sun_path) - 1);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    ::close(fd);
    return ok;
}

bool displayAvailable(std::string& why)
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0 && std::strncmp(platform, "wayland", 7) != 0)
        return true;
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (wayland && *wayland)
        return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        why = "no graphical display was found (DISPLAY is not set)";
        return false;
    }
    std::string d(display);
    // Only a local display (":N") can be checked here; remote ones are left to Qt.
    if (d[0] != ':')
        return true;
    std::string number = d.substr(1, d.find('.') == std::string::npos ? std::string::npos : d.find('.') - 1);
    if (canConnect("/tmp/.X11-unix/X" + number))
        return true;
    why = "the display " + d + " cannot be reached";
    return false;
}

} // namespace vantric
