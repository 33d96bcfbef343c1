// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/qt_window_system.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <link.h>
#include <string>
#include <string_view>
#include <vector>

namespace vantric {

// LeakSanitizer reports after the application object is gone. A Mesa driver
// that EGL or GLX loaded for the windows and unloaded with it leaves its
// one-time allocations pointed at by nothing, under a module without a name
// that no suppression can match; kept loaded, its own globals still hold them.
static void keepGraphicsDriversToTheEnd()
{
    std::vector<std::string> drivers;
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void* found) {
            if (info->dlpi_name && std::string_view(info->dlpi_name).ends_with("_dri.so"))
                static_cast<std::vector<std::string>*>(found)->push_back(info->dlpi_name);
            return 0;
        },
        &drivers);
    for (const std::string& d : drivers)
        dlopen(d.c_str(), RTLD_LAZY | RTLD_NOLOAD | RTLD_NODELETE);
}

QtWindowSystem::QtWindowSystem(MainWindow& w) : w_(w)
{
    // Runs first thing in ~QApplication, before the drivers go.
    [[maybe_unused]] static const bool once = (qAddPostRoutine(keepGraphicsDriversToTheEnd), true);
}

QWidget* QtWindowSystem::widget(Ctl c) const
{
    return w_.widget(c);
}

QListWidget* QtWindowSystem::list(Ctl c) const
{
    return qobject_cast<QListWidget*>(widget(c));
}

std::string QtWindowSystem::caption(Ctl c) const
{
    QWidget* wd = widget(c);
    if (auto* l = qobject_cast<QLabel*>(wd))
        return l->text().toStdString();
    if (auto* e = qobject_cast<QLineEdit*>(wd))
        return e->text().toStdString();
    if (auto* b = qobject_cast<QPushButton*>(wd))
        return b->text().toStdString();
    return {};
}

void QtWindowSystem::setCaption(Ctl c, const std::string& text)
{
    QWidget* wd = widget(c);
    QString t = QString::fromStdString(text);
    if (auto* l = qobject_cast<QLabel*>(wd))
        l->setText(t);
    else if (auto* e = qobject_cast<QLineEdit*>(wd))
        e->setText(t);
    else if (auto* b = qobject_cast<QPushButton*>(wd))
        b->setText(t);
    speak(wd, c, text);
}

void QtWindowSystem::addRow(Ctl c, const std::string& row)
{
    if (QListWidget* l = list(c))
        l->addItem(QString::fromStdString(row));
}

std::string QtWindowSystem::selectedRow(Ctl c) const
{
    // The current row is the chosen one; the selection model may catch up
    // with it only after the click has been handled.
    QListWidget* l = list(c);
    if (!l || !l->currentItem())
        return {};
    return l->currentItem()->text().toStdString();
}

int QtWindowSystem::rowCount(Ctl c) const
{
    QListWidget* l = list(c);
    return l ? l->count() : 0;
}

void QtWindowSystem::selectRow(Ctl c, int index)
{
    if (QListWidget* l = list(c)) {
        l->setCurrentRow(index);
        if (QListWidgetItem* item = l->item(index))
            l->scrollToItem(item);
    }
}

void QtWindowSystem::setVisible(Ctl c, bool visible)
{
    widget(c)->setVisible(visible);
}

bool QtWindowSystem::isVisible(Ctl c) const
{
    return widget(c)->isVisible();
}

void QtWindowSystem::showMain()
{
    w_.show();
    w_.raise();
    w_.activateWindow();
    if (!shownOnce_) {
        shownOnce_ = true;
        w_.Command2->setFocus();
    }
}

// On Wayland a new top-level window takes the keyboard focus, and when it
// goes the compositor may hand the focus to no one: keys typed then are
// lost. While the main window is up, a wait window is a popup over it there.
void QtWindowSystem::loadWait(WaitKind w)
{
    unloadWait(w);
    const bool wayland = QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    waits_[w] = new WaitWindow(w, wayland && w_.isVisible() ? &w_ : nullptr);
}

void QtWindowSystem::showWait(WaitKind w)
{
    WaitWindow* win = waitWindow(w);
    if (!win)
        return;
    win->show();
    win->raise();
    // Wait (briefly) for the window to be mapped, so the one pass of the
    // event loop that follows really draws it. User input stays queued.
    QElapsedTimer t;
    t.start();
    while (win->windowHandle() && !win->windowHandle()->isExposed() && t.elapsed() < 1000)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
}

void QtWindowSystem::unloadWait(WaitKind w)
{
    auto it = waits_.find(w);
    if (it == waits_.end())
        return;
    if (it->second) {
        it->second->hide();
        delete it->second.data();
    }
    waits_.erase(it);
}

WaitWindow* QtWindowSystem::waitWindow(WaitKind w) const
{
    auto it = waits_.find(w);
    return it == waits_.end() ? nullptr : it->second.data();
}

// Everything already waiting, input included: a round trip to the display
// server first, so that clicks it holds for us are in our queue, then
// dispatch until nothing is left. Bounded, in case handling one event keeps
// posting others.
void QtWindowSystem::drainEvents()
{
    QGuiApplication::sync();
    auto* dispatcher = QAbstractEventDispatcher::instance();
    for (int i = 0; i < 1000; ++i) {
        QCoreApplication::sendPostedEvents();
        if (!dispatcher || !dispatcher->processEvents(QEventLoop::AllEvents))
            break;
    }
}

void QtWindowSystem::doEvents()
{
    drainEvents();
    // Paint what is waiting now, and push it to the display.
    for (auto& [_, win] : waits_)
        if (win && win->isVisible())
            win->repaint();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtWindowSystem::settleInput()
{
    drainEvents();
}

static QString boxText(const std::string& text)
{
    QString t = QString::fromStdString(text);
    t.replace("\r\n", "\n");
    return t;
}

void QtWindowSystem::messageBox(const std::string& caption, const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption), boxText(text), QMessageBox::Ok,
                    w_.isVisible() ? &w_ : nullptr);
    box.setObjectName("vantricMessage");
    box.exec();
}

void QtWindowSystem::errorBox(const std::string& text)
{
    QMessageBox box(QMessageBox::Critical, "Vantric", boxText(text), QMessageBox::Ok,
                    w_.isVisible() ? &w_ : nullptr);
    box.setObjectName("vantricError");
    box.exec();
}

void QtWindowSystem::endProgram()
{
    // At once, even from inside a running handler: the OS closes what is open.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace vantric
