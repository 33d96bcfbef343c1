// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The title an X server holds for a window, set as given: both _NET_WM_NAME
// (UTF-8) and WM_NAME (Latin-1).

#include <cstdint>
#include <string>

struct xcb_connection_t;

namespace vantric {

void setX11Title(xcb_connection_t* connection, std::uint32_t window, const std::string& utf8,
                 const std::string& latin1);

} // namespace vantric
