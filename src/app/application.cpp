#include "app/application.h"

#include "app/frmDrive.h"
#include "app/main_window.h"
#include "app/qt_window_system.h"
#include "platform/display.h"
#include "platform/folders.h"
#include "ui/qt_look.h"

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
    if (auto problem = displayProblem(qtPlatformCandidates(), qtHasPlatformPlugin)) {
        std::fprintf(stderr,
                     "Vantric cannot show its window: %s.\n"
                     "Start it from a desktop session (X11 or Wayland).\n",
                     problem->c_str());
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setWindowIcon(appIcon());
    installFontSubstitutes();

    auto drives = systemDriveSource();
    auto fs = systemFileSystem();
    const std::string folder = [] {
        try {
            return programFolder();
        } catch (const std::exception&) {
            return std::string(1, '.');
        }
    }();

    MainWindow window;
    QtWindowSystem ws(window);
    frmDrive form(ws, Services {*drives, *fs, systemCounter(), systemClock(), environmentNumericLocale(), folder, documentsFolder()});

    form.wire(window);

    form.Form_Load();
    return app.exec();
}

} // namespace vantric
