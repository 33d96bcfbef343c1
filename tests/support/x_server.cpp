// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "support/x_server.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

namespace vantric::test {

namespace {

const std::string kCookie = "0102030405060708090a0b0c0d0e0f10";

void addCookie(const std::string& file, const std::string& display, const std::string& cookie)
{
    std::ofstream {file, std::ios::app}; // xauth notes on stderr each file it has to create
    const std::string add = "xauth -q -f '" + file + "' add " + display + " . " + cookie;
    if (std::system(add.c_str()) != 0)
        throw std::runtime_error("xauth failed; scripts/vantric.sh installs it (package xauth)");
}

} // namespace

XServer::XServer()
{
    const std::string auth = dir_.file("server");
    addCookie(auth, ":0", kCookie);
    server_.emplace([&] {
        ::execlp("Xvfb", "Xvfb", "-displayfd", "1", "-auth", auth.c_str(), "-nolisten", "tcp", "-screen", "0",
                 "640x480x24", static_cast<char*>(nullptr));
        return 127;
    });
    const std::string number = server_->readLine();
    if (number.empty())
        throw std::runtime_error("Xvfb did not start; scripts/vantric.sh installs it (package xvfb)");
    display_ = ":" + number;
    addCookie(goodAuth(), display_, kCookie);
    addCookie(wrongAuth(), display_, "ff" + kCookie.substr(2));
}

XServer::~XServer()
{
    // Asked to end, Xvfb removes its socket and lock file.
    server_->signal(SIGTERM);
    server_->wait();
}

} // namespace vantric::test
