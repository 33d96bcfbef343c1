#include "ui/native_title.h"

#include <QGuiApplication>
#include <QWindow>

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

void setX11Title(QWindow* window, const QString& title)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* c = x11->connection();
    auto id = static_cast<xcb_window_t>(window->winId());
    xcb_atom_t netName = atom(c, "_NET_WM_NAME"), utf8 = atom(c, "UTF8_STRING");
    const QByteArray utf8Title = title.toUtf8(), latin1Title = title.toLatin1();
    if (netName != XCB_ATOM_NONE && utf8 != XCB_ATOM_NONE)
        ::xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, netName, utf8, 8,
                              static_cast<std::uint32_t>(utf8Title.size()), utf8Title.constData());
    ::xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                          static_cast<std::uint32_t>(latin1Title.size()), latin1Title.constData());
    ::xcb_flush(c);
}

} // namespace

void setNativeTitle(QWindow* window, const QString& title)
{
    if (!window || !window->handle())
        return;
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        setX11Title(window, title);
}

} // namespace vantric
