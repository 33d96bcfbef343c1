// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A private X server (Xvfb) on a free display number, accepting only its own cookie.

#include "support/child_process.h"
#include "support/temp_folder.h"

#include <optional>
#include <string>

namespace vantric::test {

class XServer {
public:
    XServer(); // throws when Xvfb or xauth cannot be started
    ~XServer();

    const std::string& display() const { return display_; }
    std::string goodAuth() const { return dir_.file("good"); }   // an Xauthority file with the cookie
    std::string wrongAuth() const { return dir_.file("wrong"); } // one with another cookie

private:
    TempFolder dir_;
    std::optional<Child> server_;
    std::string display_;
};

} // namespace vantric::test
