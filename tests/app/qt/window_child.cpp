// The main window headless, as the program starts it, on made-up drives:
//   window_child locale: lists one drive, runs a test on it, saves the log
//     and prints what the window and the log file hold, with the number
//     format the program's start-up takes from the environment;
//   window_child close-during-run FOLDER: closes the window while a run on
//     FOLDER reads; the program must end there (exit 0), not finish the run.

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
#include <string>

using namespace vantric;

namespace {

void print(const char* list, QListWidget* l)
{
    for (int i = 0; i < l->count(); ++i)
        std::printf("%s|%s\n", list, l->item(i)->text().toStdString().c_str());
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    installFontSubstitutes();
    const std::string mode = argc > 1 ? argv[1] : "";

    test::FakeDriveSource drives;
    drives.drives['C'] = {.type = 2, .avail = 85134958592.0, .total = 270553845760.0};
    test::FakeFileSystem fakeFiles;
    std::unique_ptr<FileSystem> realFiles = systemFileSystem();
    FileSystem& files = mode == "close-during-run" ? *realFiles : fakeFiles;
    drives.folders['C'] = {{mode == "close-during-run" && argc > 2 ? argv[2] : "/fake/c"}};
    test::FakeCounter counter;
    counter.step = 500;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};

    MainWindow window;
    QtWindowSystem ws(window);
    SystemServices system;
    frmDrive form(ws, Services {drives, files, counter, clock, system.services().locale, "/fake/prog"});
    form.wire(window);
    form.Form_Load();
    ws.setCaption(Ctl::Label9, "1k");
    ws.selectRow(Ctl::List1, 0);

    if (mode == "close-during-run") {
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

    print("List1", window.List1);
    form.List1_Click();
    print("List2", window.List2);
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
