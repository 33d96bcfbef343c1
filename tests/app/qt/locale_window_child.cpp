// Starts the main window headless the way the program does (QApplication
// first, then the numeric locale of the environment), lists one made-up
// drive, runs a test on it, saves the log and prints what the window and
// the log file hold. Run by the window tests under a chosen locale.

#include "app/frmDrive.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/fixed_clock.h"
#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

using namespace vantric;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installFontSubstitutes();

    test::FakeDriveSource drives;
    drives.drives['C'] = {.type = 2, .avail = 85134958592.0, .total = 270553845760.0};
    drives.folders['C'] = {{"/fake/c"}};
    test::FakeFileSystem files;
    test::FakeCounter counter;
    counter.step = 500;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};

    MainWindow window;
    QtWindowSystem ws(window);
    frmDrive form(ws, Services {drives, files, counter, clock, environmentNumericLocale(), "/fake/prog"});
    form.Form_Load();
    for (int i = 0; i < window.List1->count(); ++i)
        std::printf("List1|%s\n", window.List1->item(i)->text().toStdString().c_str());

    ws.setCaption(Ctl::Label9, "1k");
    ws.selectRow(Ctl::List1, 0);
    form.List1_Click();
    for (int i = 0; i < window.List2->count(); ++i)
        std::printf("List2|%s\n", window.List2->item(i)->text().toStdString().c_str());

    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(20);
    form.Command4_Click();
    for (const auto& [path, bytes] : files.files)
        std::printf("File|%s\n%.*s", path.c_str(), static_cast<int>(bytes.size()),
                    reinterpret_cast<const char*>(bytes.data()));
    return 0;
}
