#include "app/frmDrive.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "app/qt/qt_test_app.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/fixed_clock.h"
#include "ui/qt/qt_look.h"

#include <QTest>

#include <gtest/gtest.h>

using namespace vantric;

namespace {

struct AppFirst {
    AppFirst()
    {
        test::qtApp();
        installFontSubstitutes();
    }
};

// The real window system, but ending the program is only counted.
struct CountingEnds : QtWindowSystem {
    using QtWindowSystem::QtWindowSystem;
    int ends = 0;
    void endProgram() override { ++ends; }
};

struct Window : ::testing::Test, AppFirst {
    MainWindow w;
    CountingEnds ws {w};
};

TEST_F(Window, ControlsSitWhereTheLayoutPutsThem)
{
    EXPECT_EQ(w.windowTitle(), " Vantric");
    EXPECT_EQ(w.size(), QSize(599, 442));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    struct Place {
        QWidget* widget;
        QRect rect;
    } places[] = {
        {w.List1, {3, 3, 593, 164}},     {w.Command3, {200, 176, 25, 24}}, {w.Label9, {229, 176, 133, 24}},
        {w.Command1, {368, 176, 25, 24}}, {w.Label6, {32, 184, 121, 25}},  {w.Label7, {448, 184, 129, 17}},
        {w.Label1, {3, 208, 173, 24}},    {w.Command2, {200, 208, 193, 25}}, {w.Label4, {420, 208, 173, 24}},
        {w.Label3, {0, 240, 169, 24}},    {w.Command4, {200, 240, 193, 25}}, {w.Label5, {420, 240, 173, 24}},
        {w.List2, {3, 273, 593, 164}},
    };
    for (const auto& p : places)
        EXPECT_EQ(p.widget->geometry(), p.rect) << p.widget->objectName().toStdString();
    EXPECT_EQ(w.Label9->text(), "1M");
    EXPECT_EQ(w.Command2->text(), "&Exit");
    EXPECT_EQ(w.Command4->text(), "&Save Log File");
    EXPECT_TRUE(w.Command1->text().isEmpty());
    EXPECT_EQ(w.List1->toolTip(), " Click On Drive To Start Vantric");
    EXPECT_EQ(w.Label9->font().pixelSize(), 16);
    EXPECT_TRUE(w.Label9->font().bold());
    EXPECT_TRUE(w.Command2->font().italic());
    EXPECT_EQ(w.List1->font().pixelSize(), 13);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(Window, StorageControlsAndSaveButtonStayHidden)
{
    ws.showMain();
    for (QWidget* c : {static_cast<QWidget*>(w.Text1), static_cast<QWidget*>(w.Label2),
                       static_cast<QWidget*>(w.lblDrive), static_cast<QWidget*>(w.lblSN),
                       static_cast<QWidget*>(w.lblFree), static_cast<QWidget*>(w.lblTot),
                       static_cast<QWidget*>(w.Command4)})
        EXPECT_FALSE(c->isVisible()) << c->objectName().toStdString();
    EXPECT_EQ(w.Text1->text(), "C");
    EXPECT_EQ(w.Label2->text(), "Label2");
    EXPECT_TRUE(w.List1->isVisible());
}

TEST_F(Window, FocusStartsOnExitAndFollowsTheTabOrder)
{
    ws.showMain();
    QApplication::setActiveWindow(&w);
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), w.Command2);
    std::vector<QWidget*> order;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        order.push_back(QApplication::focusWidget());
    }
    EXPECT_EQ(order, (std::vector<QWidget*> {w.List1, w.Command1, w.Command3, w.List2, w.Command2}));
    w.Command4->show();
    w.List2->setFocus();
    QTest::keyClick(w.List2, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), w.Command4);
}

TEST_F(Window, EnterSpaceOrAltEOnExitEndTheProgram)
{
    int& ends = ws.ends;
    test::FakeDriveSource drives;
    auto fs = systemFileSystem();
    frmDrive form(ws, Services {drives, *fs, systemCounter(), systemClock(), NumericLocale {}, "."});
    w.onCommand2 = [&] { form.Command2_Click(); };
    w.onCommand4 = [&] { ADD_FAILURE() << "hidden save button clicked"; };
    ws.showMain();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.Command2, Qt::Key_Return);
    EXPECT_EQ(ends, 1);
    QTest::keyClick(w.Command2, Qt::Key_Space);
    EXPECT_EQ(ends, 2);
    // An access key clicks its button after a short animation.
    QTest::keyClick(w.windowHandle(), Qt::Key_E, Qt::AltModifier);
    for (int i = 0; i < 50 && ends < 3; ++i)
        QTest::qWait(20);
    EXPECT_EQ(ends, 3);
    QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::AltModifier); // save button still hidden
    QTest::qWait(300);
}

TEST_F(Window, WaitWindowsAreMadeAnewAndDestroyed)
{
    struct Case {
        WaitKind kind;
        QString title, message;
    } cases[] = {
        {WaitKind::PleastWait, QString(11, ' '), "Please Wait Checking Your Drives"},
        {WaitKind::PleaseWaitWriting, "", "Please Wait Writing To Disk"},
        {WaitKind::PleaseWaitReading, " ", "Please Wait Reading From Disk"},
    };
    for (const auto& c : cases) {
        ws.loadWait(c.kind);
        QPointer<WaitWindow> first = ws.waitWindow(c.kind);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->windowTitle(), c.title);
        EXPECT_EQ(first->Label1->text(), c.message);
        EXPECT_EQ(first->size(), QSize(220, 130));
        EXPECT_EQ(first->Label1->geometry(), QRect(8, 8, 201, 113));
        EXPECT_EQ(first->palette().color(QPalette::Window), QColor(Qt::black));
        EXPECT_EQ(first->Label1->palette().color(QPalette::Window), QColor(0, 0, 255));
        EXPECT_EQ(first->Label1->palette().color(QPalette::WindowText), QColor(192, 192, 192));
        EXPECT_EQ(first->Label1->font().pixelSize(), 32);
        ws.showWait(c.kind);
        ws.doEvents();
        EXPECT_TRUE(first->isVisible());
        ws.unloadWait(c.kind);
        EXPECT_FALSE(first);
        ws.loadWait(c.kind);
        EXPECT_NE(ws.waitWindow(c.kind), nullptr);
        // Closed by the user first: the unload that follows does nothing.
        ws.waitWindow(c.kind)->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ws.unloadWait(c.kind);
        EXPECT_EQ(ws.waitWindow(c.kind), nullptr);
    }
}

} // namespace

namespace {

TEST_F(Window, StepButtonsMoveTheSizeCaption)
{
    test::FakeDriveSource drives;
    auto fs = systemFileSystem();
    frmDrive form(ws, Services {drives, *fs, systemCounter(), systemClock(), NumericLocale {}, "."});
    w.onCommand1 = [&] { form.Command1_Click(); };
    w.onCommand3 = [&] { form.Command3_Click(); };
    ws.showMain();
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.Label9->text(), "2M");
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(w.Label9->text(), "1000k");
}

} // namespace

#include "fakes/fake_files.h"

#include <QMessageBox>
#include <QTimer>

namespace {

TEST_F(Window, AltSAfterARunSavesAndConfirmsOnTwoLines)
{
    test::FakeDriveSource drives;
    drives.folders['C'] = {{"/fake/c"}};
    test::FakeFileSystem files;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};
    frmDrive form(ws, Services {drives, files, systemCounter(), clock, NumericLocale {}, "/fake/prog"});
    w.onList1Click = [&] { form.List1_Click(); };
    w.onCommand4 = [&] { form.Command4_Click(); };
    w.List1->addItem(" C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB");
    w.Label9->setText("1k");
    ws.showMain();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, w.List1->visualItemRect(w.List1->item(0)).center());
    ASSERT_EQ(w.List2->count(), 5);
    ASSERT_TRUE(w.Command4->isVisible());

    // Answers the confirmation once it is up (the access key clicks after a short animation).
    QString shown;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            EXPECT_EQ(box->windowTitle(), "Vantric");
            EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
            EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
            box->accept();
            poll.stop();
        }
    });
    poll.start(20);
    QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::AltModifier);
    for (int i = 0; i < 50 && shown.isEmpty(); ++i)
        QTest::qWait(20);
    EXPECT_EQ(shown, "Log Saved In\n/fake/prog/Vantric_Log_2612051200.txt");
    EXPECT_EQ(w.List2->currentRow(), 4);
    EXPECT_TRUE(files.files.count("/fake/prog/Vantric_Log_2612051200.txt"));
}

// Runs through the real widgets, on fake drives and files.
struct Runs : Window {
    test::FakeDriveSource drives;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};
    frmDrive form {ws, Services {drives, files, counter, clock, NumericLocale {}, "/fake/prog"}};
    const QString rowC = " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB";
    const QString rowD = " D:- RAM Disc  Free Space: 1.00 MB  Total Size: 1.00 MB";

    Runs()
    {
        drives.folders['C'] = {{"/fake/c"}};
        drives.folders['D'] = {{"/fake/d"}};
        form.wire(w);
        w.List1->addItem(rowC);
        w.List1->addItem(rowD);
        w.Label9->setText("1k");
        ws.showMain();
        QApplication::setActiveWindow(&w);
    }
    int runs() const { return w.List2->count() / 5; }
    QPoint rowCentre(int row) const { return w.List1->visualItemRect(w.List1->item(row)).center(); }
};

TEST_F(Runs, FocusComingIntoTheDriveListStartsNothing)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ASSERT_EQ(QApplication::focusWidget(), w.Command2);
    QTest::keyClick(w.Command2, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.List1);
    QTest::keyClick(w.List1, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.Command1);
    QTest::keyClick(w.Command1, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), w.List1);
    w.List1->setCurrentRow(0); // the program setting the row is no choice either
    QApplication::processEvents();
    EXPECT_EQ(runs(), 0);
    EXPECT_TRUE(files.opened.empty());

    // The keyboard moving the selection chooses the row it lands on.
    QTest::keyClick(w.List1, Qt::Key_Down);
    ASSERT_EQ(runs(), 1);
    EXPECT_EQ(w.List2->item(0)->text(), rowD);
    QTest::keyClick(w.List1, Qt::Key_Down); // already on the last row: nothing moves
    EXPECT_EQ(runs(), 1);

    // One mouse click on a row is one run of that row.
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    ASSERT_EQ(runs(), 2);
    EXPECT_EQ(w.List2->item(5)->text(), rowC);
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(runs(), 3);
}

// Clicks queued while the read pass runs, after the last point where the
// run lets events through.
TEST_F(Runs, ClicksMadeDuringARunAreNotReplayedAfterIt)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    auto post = [](QWidget* target, QPoint at) {
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(target, new QMouseEvent(t, at, target->mapToGlobal(at), Qt::LeftButton,
                                                                 t == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                               : Qt::NoButton,
                                                                 Qt::NoModifier));
    };
    counter.onReading = [&](int n) {
        if (n == 4) { // the read pass's stopwatch starts
            post(w.List1->viewport(), rowCentre(1));
            post(w.Command1, w.Command1->rect().center());
            post(w.Command3, w.Command3->rect().center());
        }
    };
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    counter.onReading = nullptr;
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
    EXPECT_EQ(runs(), 1);
    EXPECT_EQ(w.List2->item(0)->text(), rowC);
    EXPECT_EQ(w.Label9->text(), "1k");
    EXPECT_EQ(std::count_if(files.opened.begin(), files.opened.end(),
                            [](const std::string& o) { return o.rfind("claim ", 0) == 0; }),
              1);
}

} // namespace

#include "platform/number_format.h"
#include "support/child_process.h"

#include <sstream>

namespace {

// The drive row, the run's rows and the saved log of a headless program
// started under German rules, as QApplication sets them up.
TEST(WindowLocale, GermanDriveRowRunRowsAndLogAgree)
{
    ASSERT_TRUE(namedNumericLocale("de_DE.UTF-8")) << "de_DE.UTF-8 is not installed; scripts/vantric.sh generates it";
    test::ChildResult r = test::runProgram(VANTRIC_LOCALE_CHILD, {},
                                           {{"LC_ALL", "de_DE.UTF-8"}, {"LANG", "de_DE.UTF-8"},
                                            {"QT_QPA_PLATFORM", "offscreen"}});
    ASSERT_TRUE(r.exited && r.status == 0) << test::describe(r);
    std::vector<std::string> list1, list2;
    std::string logPath, logText;
    std::istringstream in(r.out);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("List1|", 0) == 0) {
            list1.push_back(line.substr(6));
        } else if (line.rfind("List2|", 0) == 0) {
            list2.push_back(line.substr(6));
        } else if (line.rfind("File|", 0) == 0) {
            logPath = line.substr(5);
            logText.assign(std::istreambuf_iterator<char>(in), {});
        }
    }
    EXPECT_EQ(list1, std::vector<std::string> {" C:- Hard Disk  Free Space: 81.191,02 MB  Total Size: 258.020,25 MB"});
    EXPECT_EQ(list2, (std::vector<std::string> {" C:- Hard Disk  Free Space: 81.191,02 MB  Total Size: 258.020,25 MB",
                                                " Testing On 1k File", " Write [MB/s]= ,001953 1,0000 Seconds",
                                                " Read  [MB/s]= ,000977  1,0000 Seconds", " "}));
    EXPECT_EQ(logPath, "/fake/prog/Vantric_Log_2612051200.txt");
    std::string want;
    for (const auto& row : list2)
        want += row + "\r\n";
    EXPECT_EQ(logText, want);
}

} // namespace
