// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/frmDrive.h"
#include "app/qt/identity.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_window_system.h"
#include "fakes/fake_counter.h"
#include "fakes/fake_drives.h"
#include "fakes/fake_files.h"
#include "support/child_process.h"
#include "support/drive_key_cases.h"
#include "fakes/fixed_clock.h"
#include "support/late_input.h"
#include "support/temp_folder.h"
#include "ui/qt/qt_look.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

using namespace vantric;

namespace {

// One offscreen application, made before any window.
struct AppFirst {
    AppFirst()
    {
        static int argc = 1;
        static char name[] = "vantric_tests";
        static char* argv[] = {name, nullptr};
        if (!qApp) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            new QApplication(argc, argv);
        }
        installFontSubstitutes();
    }
};

// The real window system, but ending the program is only counted.
struct CountingEnds : QtWindowSystem {
    using QtWindowSystem::QtWindowSystem;
    int ends = 0;
    std::function<void()> atDoEvents;
    void endProgram() override { ++ends; }
    void doEvents() override
    {
        if (atDoEvents)
            atDoEvents();
        QtWindowSystem::doEvents();
    }
};

struct Window : ::testing::Test, AppFirst {
    MainWindow w;
    CountingEnds ws {w};
};

// The installed files carry these names; the icon's match with them is checked by icons_test.sh.
TEST_F(Window, NamesAndIconAreTheInstalledFilesOnes)
{
    announceIdentity();
    EXPECT_EQ(QCoreApplication::applicationName(), "vantric");
    EXPECT_EQ(QCoreApplication::applicationVersion(), VANTRIC_PROJECT_VERSION);
    const QImage want(VANTRIC_SOURCE_DIR "/src/ui/qt/vantric_icon.xpm");
    EXPECT_EQ(appIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
              want.convertToFormat(QImage::Format_ARGB32));
}

TEST_F(Window, EveryControlIsBuiltFromTheLayoutInItsTabOrder)
{
    EXPECT_EQ(w.windowTitle(), " Vantric");
    EXPECT_EQ(w.size(), QSize(599, 442));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    ws.showMain();
    for (const ControlLayout& c : mainWindowControls()) {
        SCOPED_TRACE(c.name);
        QWidget* widget = w.widget(c.ctl);
        EXPECT_EQ(widget->objectName(), c.name);
        EXPECT_EQ(widget->isVisible(), c.visible);
        if (c.width > 0) {
            EXPECT_EQ(widget->geometry(), QRect(px(c.left), px(c.top), px(c.width), px(c.height)));
        }
        QString text = widget->property("text").toString(); // labels, buttons and text boxes
        if (!qobject_cast<QListWidget*>(widget)) {
            EXPECT_EQ(text, c.caption);
        }
        EXPECT_EQ(widget->toolTip(), c.tooltip ? c.tooltip : "");
    }
    // Point sizes become pixels at 96 dots per inch.
    EXPECT_EQ(w.Label9->font().pixelSize(), 16);
    EXPECT_TRUE(w.Label9->font().bold());
    EXPECT_TRUE(w.Command2->font().italic());
    EXPECT_EQ(w.List1->font().pixelSize(), 13);
    // The focus starts on Exit and follows the tab order.
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

TEST_F(Window, AssistiveTechnologyHearsWhatEachControlIs)
{
    ws.showMain();
    ws.setCaption(Ctl::Label1, "1240.102432");
    using A = QAccessible;
    struct Case {
        Ctl ctl;
        A::Role role;
        QString name;
        bool described = false;
    } cases[] = {
        {Ctl::Command3, A::Button, "One size smaller", true},
        {Ctl::Command1, A::Button, "One size larger", true},
        {Ctl::Command2, A::Button, "Exit"},
        {Ctl::List1, A::List, "Drives", true},
        {Ctl::Label6, A::StaticText, "Write [MB/s]"},
        {Ctl::Label1, A::StaticText, "Write rate, MB/s: 1240.102432"},
        {Ctl::Label4, A::StaticText, "Read rate, MB/s"},
    };
    QAccessibleInterface* frame = QAccessible::queryAccessibleInterface(&w);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->role(), A::Window);
    std::set<QObject*> children;
    std::set<QString> names; // each child has one of its own
    for (int i = 0; i < frame->childCount(); ++i) {
        children.insert(frame->child(i)->object());
        names.insert(frame->child(i)->text(A::Name));
    }
    EXPECT_TRUE(names.size() == children.size() && !names.count("")) << names.size() << " names";
    for (const ControlLayout& c : mainWindowControls())
        EXPECT_EQ(children.count(w.widget(c.ctl)), isStorage(c) ? 0u : 1u) << c.name;
    for (const auto& c : cases) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(w.widget(c.ctl));
        ASSERT_TRUE(i);
        EXPECT_EQ(i->role(), c.role) << c.name.toStdString();
        EXPECT_EQ(i->text(A::Name), c.name);
        EXPECT_EQ(!i->text(A::Description).isEmpty(), c.described) << c.name.toStdString();
        EXPECT_GE(frame->indexOfChild(i), 0) << c.name.toStdString();
    }
    EXPECT_EQ(w.Label1->text(), "1240.102432");
}

// Their titles and texts are read on real displays (atspi_test.sh, wayland_test.sh).
TEST_F(Window, WaitWindowsAreMadeAnewAndDestroyed)
{
    for (WaitKind kind : {WaitKind::PleastWait, WaitKind::PleaseWaitWriting, WaitKind::PleaseWaitReading}) {
        ws.loadWait(kind);
        QPointer<WaitWindow> first = ws.waitWindow(kind);
        ASSERT_TRUE(first);
        EXPECT_EQ(first->Label1->font().pixelSize(), 32); // 24 points at 96 dots per inch
        ws.showWait(kind);
        ws.doEvents();
        ws.unloadWait(kind);
        EXPECT_FALSE(first);
        ws.loadWait(kind);
        EXPECT_NE(ws.waitWindow(kind), nullptr);
        // Closed by the user first: the unload that follows does nothing.
        ws.waitWindow(kind)->close();
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ws.unloadWait(kind);
        EXPECT_EQ(ws.waitWindow(kind), nullptr);
    }
}

// The window wired as the program wires it, on fake drives and files.
struct Runs : Window {
    test::FakeDriveSource drives;
    test::FakeFileSystem files;
    test::FakeCounter counter;
    test::FixedClock clock {{2026, 12, 5, 12, 0, 0}};
    frmDrive form {ws, Services {drives, files, counter, clock, systemStopHooks(), NumericLocale {}, "/fake/prog"}};
    const QString rowC = " C:- Hard Disk  Free Space: 1.00 MB  Total Size: 1.00 MB";
    const QString rowD = " D:- RAM Disc  Free Space: 1.00 MB  Total Size: 1.00 MB";
    // What the last message box said; each box is answered once up.
    QString shown;
    QTimer answer;

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
        QObject::connect(&answer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                EXPECT_EQ(box->windowTitle(), "Vantric");
                EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
                EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
                box->accept();
            }
        });
        answer.start(20);
    }
    int runs() const { return w.List2->count() / 5; }
    QPoint rowCentre(int row) const { return w.List1->visualItemRect(w.List1->item(row)).center(); }
};

// Each control's event reaches its own handler; the save button's access key once a run has shown it.
TEST_F(Runs, EveryEventReachesItsHandler)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::mouseClick(w.Command1, Qt::LeftButton);
    EXPECT_EQ(w.Label9->text(), "2k");
    w.Label9->setText("1k");
    QTest::mouseClick(w.Command3, Qt::LeftButton);
    EXPECT_EQ(w.Label9->text(), "100M");
    w.Label9->setText("1k");
    QTest::keyClick(w.Command2, Qt::Key_Return);
    EXPECT_EQ(ws.ends, 1);
    QTest::keyClick(w.Command2, Qt::Key_Space);
    EXPECT_EQ(ws.ends, 2);
    QTest::keyClick(w.windowHandle(), Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ws.ends == 3; }, 1000)); // clicked after a short animation
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    ASSERT_EQ(runs(), 1);
    QTest::keyClick(w.windowHandle(), Qt::Key_S, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.isEmpty(); }, 1000));
    EXPECT_EQ(shown, "Log Saved In\n/fake/prog/Vantric_Log_2612051200.txt");
    // Exit clicked while a run lets events through ends the program there.
    ws.atDoEvents = [&, n = 0]() mutable {
        if (++n == 1)
            QTest::mouseClick(w.Command2, Qt::LeftButton);
    };
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    EXPECT_EQ(ws.ends, 4);
    // The window's close event is tried in WindowChild, where the program may end.
}

// Focus or the program setting the row starts nothing; keys, moves and clicks run the row they land on.
TEST_F(Runs, OnlyTheUsersChoiceOfARowStartsARun)
{
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(w.Command2, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), w.List1);
    w.List1->setCurrentRow(0);
    QApplication::processEvents();
    EXPECT_EQ(runs(), 0);
    int before = 0;
    for (const auto& c : test::kDriveKeyCases) {
        QTest::keyClick(w.List1, c.typed);
        ASSERT_EQ(runs(), before + (c.runs != 0)) << "typed '" << c.typed << "'";
        if (c.runs) {
            EXPECT_EQ(w.List2->item(5 * before)->text()[1], QChar(c.runs)) << "typed '" << c.typed << "'";
        }
        before = runs();
    }
    QTest::keyClick(w.List1, Qt::Key_Down);
    ASSERT_EQ(runs(), before + 1);
    EXPECT_EQ(w.List2->item(5 * before)->text(), rowD);
    EXPECT_EQ(QApplication::focusWidget(), w.List1) << "the runs moved the focus";
    QTest::keyClick(w.List1, Qt::Key_Down); // already on the last row: nothing moves
    EXPECT_EQ(runs(), before + 1);
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0)); // the row clicked, not the current one
    ASSERT_EQ(runs(), before + 2);
    EXPECT_EQ(w.List2->item(5 * before + 5)->text(), rowC);
}

// Real key and mouse events at the read pass's processing point, and what completes them after the run.
struct LateInputs : Runs, ::testing::WithParamInterface<test::LateInputCase> {};

TEST_P(LateInputs, TakeNoEffectAfterTheRun)
{
    const test::LateInputCase& c = GetParam();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    w.Command4->show();
    QWidget* target = c.target == Ctl::List1 ? w.List1->viewport() : w.widget(c.target);
    const QPoint at = c.target == Ctl::List1 ? rowCentre(1) : target->rect().center();
    int points = 0;
    ws.atDoEvents = [&] {
        if (++points != 2)
            return;
        switch (c.input) {
        case test::LateInput::AccessKey:
            QApplication::setActiveWindow(&w); // the user comes back to the main window
            QTest::keyClick(w.windowHandle(), Qt::Key(test::accessLetter(ws.caption(c.target))), Qt::AltModifier);
            break;
        case test::LateInput::Click: QTest::mouseClick(target, Qt::LeftButton, {}, at); break;
        case test::LateInput::EnterKey:
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Return);
            break;
        case test::LateInput::SpaceHeld:
            target->setFocus();
            QTest::keyPress(target, Qt::Key_Space);
            break;
        case test::LateInput::MouseHeld: QTest::mousePress(target, Qt::LeftButton, {}, at); break;
        }
    };
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, rowCentre(0));
    ws.atDoEvents = nullptr;
    ASSERT_EQ(points, 2);
    if (c.input == test::LateInput::SpaceHeld)
        QTest::keyRelease(target, Qt::Key_Space);
    if (c.input == test::LateInput::MouseHeld)
        QTest::mouseRelease(target, Qt::LeftButton, {}, at);
    QTest::qWait(300); // longer than an animated click
    test::expectNoLateEffect(ws, shown.isEmpty() ? 0 : 1, c);
}

INSTANTIATE_TEST_SUITE_P(Qt, LateInputs, ::testing::ValuesIn(test::kLateInputCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Closing the window while a run writes ends the program at once, and the run's scratch file goes with it.
TEST(WindowChild, ClosingTheWindowDuringARunEndsTheProgramAndRemovesTheScratchFile)
{
    test::TempFolder dir;
    test::ChildResult r = test::runProgram(VANTRIC_WINDOW_CHILD, {"close-during-run", dir.str()},
                                           {{"QT_QPA_PLATFORM", "offscreen"}});
    EXPECT_TRUE(r.exited && r.status == 0) << test::describe(r);
    EXPECT_EQ(r.out, "scratch file written\n");
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

} // namespace
