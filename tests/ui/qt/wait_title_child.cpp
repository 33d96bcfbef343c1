// Shows each wait window the way the handlers do, the first before the main
// window is up, the others over it, after a second for the compositor and
// the accessibility bus. On X11 it prints the _NET_WM_NAME and WM_NAME the
// server holds for each; on Wayland the test reads WAYLAND_DEBUG.

#include "app/qt/identity.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <xcb/xcb.h>

using namespace vantric;

namespace {

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    auto* r = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                                    nullptr);
    xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(r);
    return a;
}

// "<missing>" when the window has no such property.
std::string property(xcb_connection_t* c, xcb_window_t w, xcb_atom_t name)
{
    auto* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                     nullptr);
    std::string value = "<missing>";
    if (r && r->type != XCB_ATOM_NONE)
        value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                     static_cast<std::size_t>(xcb_get_property_value_length(r)));
    std::free(r);
    return value;
}

} // namespace

int main(int argc, char** argv)
{
    announceIdentity(); // as the program does: Qt puts the display name in titles
    QApplication app(argc, argv);
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    MainWindow w;
    QtWindowSystem ws(w);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    struct {
        WaitKind kind;
        const char* name;
    } waits[] = {{WaitKind::PleastWait, "PleastWait"},
                 {WaitKind::PleaseWaitWriting, "PleaseWaitWriting"},
                 {WaitKind::PleaseWaitReading, "PleaseWaitReading"}};
    for (const auto& k : waits) {
        ws.loadWait(k.kind);
        ws.showWait(k.kind);
        ws.doEvents();
        if (c) {
            auto id = static_cast<xcb_window_t>(ws.waitWindow(k.kind)->winId());
            std::printf("%s|%s|%s\n", k.name, property(c, id, atom(c, "_NET_WM_NAME")).c_str(),
                        property(c, id, XCB_ATOM_WM_NAME).c_str());
        }
        ws.unloadWait(k.kind);
        if (k.kind == WaitKind::PleastWait)
            ws.showMain(); // as at the end of the start-up scan
    }
    return 0;
}
