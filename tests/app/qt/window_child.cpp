// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
// The main window headless, as the program starts it, on a made-up drive:
//   close-during-run FOLDER: closes the window while a run on FOLDER reads (must exit 0 there);
//   waits: each wait window as the handlers show it; on X11 the titles the server holds.

#include "app/frmDrive.h"
#include "app/qt/identity.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "app/system/system_services.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fixed_clock.h"
#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <xcb/xcb.h>

using namespace vantric;

namespace {

// "<missing>" when the window has no such property.
std::string property(xcb_connection_t* c, xcb_window_t w, const char* name)
{
    auto* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
                                    nullptr);
    auto* r = xcb_get_property_reply(c, xcb_get_property(c, 0, w, a ? a->atom : 0, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                     nullptr);
    std::string value = "<missing>";
    if (r && r->type != XCB_ATOM_NONE)
        value.assign(static_cast<const char*>(xcb_get_property_value(r)),
                     static_cast<std::size_t>(xcb_get_property_value_length(r)));
    std::free(a);
    std::free(r);
    return value;
}

int showWaits(QApplication& app)
{
    auto* x11 = app.nativeInterface<QNativeInterface::QX11Application>();
    MainWindow w;
    QtWindowSystem ws(w);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    for (WaitKind kind : {WaitKind::PleastWait, WaitKind::PleaseWaitWriting, WaitKind::PleaseWaitReading}) {
        ws.loadWait(kind);
        ws.showWait(kind);
        ws.doEvents();
        if (x11) {
            auto id = static_cast<xcb_window_t>(ws.waitWindow(kind)->winId());
            std::printf("%s|%s\n", property(x11->connection(), id, "_NET_WM_NAME").c_str(),
                        property(x11->connection(), id, "WM_NAME").c_str());
        }
        ws.unloadWait(kind);
        if (kind == WaitKind::PleastWait)
            ws.showMain(); // as at the end of the start-up scan
    }
    // A maximize asked of the fixed-size window (Wayland's drawn title bar offers it) must not end the program.
    w.showMaximized();
    for (settle.restart(); settle.elapsed() < 1000;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool waits = argc > 1 && std::string(argv[1]) == "waits";
    if (waits)
        announceIdentity(); // as the program does: Qt puts the display name in titles
    QApplication app(argc, argv);
    if (waits)
        return showWaits(app);
    installFontSubstitutes();
    if (argc < 3 || std::string(argv[1]) != "close-during-run")
        return 2;
    test::FakeDriveSource drives;
    drives.drives['C'] = {.type = 2, .avail = 85134958592.0, .total = 270553845760.0};
    drives.folders['C'] = {{argv[2]}};
    std::unique_ptr<FileSystem> files = systemFileSystem();
    test::FakeCounter counter;
    counter.step = 500;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};
    MainWindow window;
    QtWindowSystem ws(window);
    SystemServices system;
    frmDrive form(ws, Services {drives, *files, counter, clock, systemStopHooks(), system.services().locale,
                                "/fake/prog"});
    form.wire(window);
    form.Form_Load();
    ws.setCaption(Ctl::Label9, "1k");
    ws.selectRow(Ctl::List1, 0);
    counter.onReading = [&](int n) {
        if (n != 2) // the write pass is over; the read pass lets events through next
            return;
        if (std::filesystem::exists(std::filesystem::path(argv[2]) / "~test.tmp"))
            std::printf("scratch file written\n");
        QMetaObject::invokeMethod(&window, "close", Qt::QueuedConnection);
    };
    form.List1_Click();
    std::printf("the run went on\n");
    return 3;
}
