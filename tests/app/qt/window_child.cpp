// The main window headless, as the program starts it, on made-up drives:
//   window_child locale: runs a test on one drive, saves the log and prints
//     the lists and the file, in the number format start-up takes from the
//     environment;
//   window_child close-during-run FOLDER: closes the window while a run on
//     FOLDER reads; the program must end there (exit 0).

#include "app/frmDrive.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "app/system_services.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/fixed_clock.h"
#include "ui/qt/qt_look.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <filesystem>

using namespace vantric;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installFontSubstitutes();
    const bool closing = argc > 2 && std::string(argv[1]) == "close-during-run";
    test::FakeDriveSource drives;
    drives.drives['C'] = {.type = 2, .avail = 85134958592.0, .total = 270553845760.0};
    drives.folders['C'] = {{closing ? argv[2] : "/fake/c"}};
    test::FakeFileSystem fakeFiles;
    std::unique_ptr<FileSystem> realFiles = systemFileSystem();
    test::FakeCounter counter;
    counter.step = 500;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};
    MainWindow window;
    QtWindowSystem ws(window);
    SystemServices system;
    frmDrive form(ws, Services {drives, closing ? *realFiles : fakeFiles, counter, clock, system.services().locale,
                                "/fake/prog"});
    form.wire(window);
    form.Form_Load();
    ws.setCaption(Ctl::Label9, "1k");
    ws.selectRow(Ctl::List1, 0);

    if (closing) {
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
    form.List1_Click();
    for (auto [name, list] : {std::pair<const char*, QListWidget*> {"List1", window.List1}, {"List2", window.List2}})
        for (int i = 0; i < list->count(); ++i)
            std::printf("%s|%s\n", name, list->item(i)->text().toStdString().c_str());
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    answer.start(20);
    form.Command4_Click();
    for (const auto& [path, bytes] : fakeFiles.files)
        std::printf("File|%s\n%.*s", path.c_str(), static_cast<int>(bytes.size()),
                    reinterpret_cast<const char*>(bytes.data()));
    return 0;
}
