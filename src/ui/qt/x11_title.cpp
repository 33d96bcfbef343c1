// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/qt/x11_title.h"

#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace vantric {

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto cookie = ::xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = ::xcb_intern_atom_reply(c, cookie, nullptr);
    xcb_atom_t a = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

} // namespace

void setX11Title(xcb_connection_t* c, std::uint32_t window, const std::string& utf8, const std::string& latin1)
{
    xcb_atom_t netName = atom(c, "_NET_WM_NAME"), utf8Type = atom(c, "UTF8_STRING");
    if (netName != XCB_ATOM_NONE && utf8Type != XCB_ATOM_NONE)
        ::xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, netName, utf8Type, 8,
                              static_cast<std::uint32_t>(utf8.size()), utf8.data());
    ::xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                          static_cast<std::uint32_t>(latin1.size()), latin1.data());
    ::xcb_flush(c);
}

} // namespace vantric
