#pragma once
// A private X server (Xvfb) on a free display number, accepting only its own cookie.

#include "support/temp_folder.h"

#include <string>
#include <sys/types.h>

namespace vantric::test {

class XServer {
public:
    XServer(); // throws when Xvfb cannot be started
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    const std::string& display() const { return display_; }
    std::string goodAuth() const; // an Xauthority file with the cookie
    std::string wrongAuth() const; // one with another cookie

private:
    TempFolder dir_;
    pid_t pid_ = -1;
    std::string display_;
};

} // namespace vantric::test
