// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/application.h"

#include "app/frmDrive.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "app/qt/display.h"
#include "app/system/system_services.h"
#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>

namespace vantric {

static bool qtHasPlatformPlugin(const std::string& file)
{
    QStringList dirs;
    if (QString own = qEnvironmentVariable("QT_QPA_PLATFORM_PLUGIN_PATH"); !own.isEmpty())
        dirs << own;
    for (const QString& d : QCoreApplication::libraryPaths())
        dirs << d + QStringLiteral("/platforms");
    for (const QString& d : dirs)
        if (QFileInfo::exists(d + QLatin1Char('/') + QString::fromStdString(file)))
            return true;
    return false;
}

int runApplication(int argc, char** argv)
{
    // Before QApplication: a platform that cannot connect makes Qt abort.
    std::string usable;
    if (auto problem = displayProblem(qtPlatformCandidates(), qtHasPlatformPlugin, &usable)) {
        std::fprintf(stderr,
                     "Vantric cannot show its window: %s.\n"
                     "Start it from a desktop session (X11 or Wayland).\n",
                     problem->c_str());
        return 2;
    }
    // Qt 6.4 would take X11 in a session that only has a Wayland display.
    if (!usable.empty())
        qputenv("QT_QPA_PLATFORM", QByteArray::fromStdString(usable));
    QApplication app(argc, argv);
    QApplication::setWindowIcon(appIcon());
    installFontSubstitutes();

    SystemServices system;
    MainWindow window;
    QtWindowSystem ws(window);
    frmDrive form(ws, system.services());

    form.wire(window);

    form.Form_Load();
    return app.exec();
}

} // namespace vantric
