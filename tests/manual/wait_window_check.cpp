// Shows one wait window the way a handler does (load, show, one pass of the
// event loop), then blocks the thread as the long operation would, so that a
// screenshot taken meanwhile shows whether the window was really drawn.
// Usage: wait_window_check [scan|write|read] [seconds]

#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "ui/qt/qt_look.h"

#include <QApplication>

#include <chrono>
#include <cstring>
#include <thread>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    vantric::installFontSubstitutes();
    vantric::WaitKind kind = vantric::WaitKind::PleastWait;
    if (argc > 1 && std::strcmp(argv[1], "write") == 0)
        kind = vantric::WaitKind::PleaseWaitWriting;
    if (argc > 1 && std::strcmp(argv[1], "read") == 0)
        kind = vantric::WaitKind::PleaseWaitReading;
    int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    vantric::MainWindow w;
    vantric::QtWindowSystem ws(w);
    ws.loadWait(kind);
    ws.showWait(kind);
    ws.doEvents();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    ws.unloadWait(kind);
    return 0;
}
