#pragma once
// One QApplication for the window tests (offscreen).

#include <QApplication>

namespace vantric::test {

inline QApplication& qtApp()
{
    static int argc = 1;
    static char name[] = "vantric_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        auto* a = new QApplication(argc, argv);
        return a;
    }();
    return *app;
}

} // namespace vantric::test
