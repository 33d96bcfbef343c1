// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The window system over the real widgets.

#include "app/qt/main_window.h"
#include "platform/window_system.h"
#include "ui/qt/wait_window.h"

#include <QPointer>

#include <map>

namespace vantric {

class QtWindowSystem : public WindowSystem {
public:
    explicit QtWindowSystem(MainWindow& w);

    std::string caption(Ctl c) const override;
    void setCaption(Ctl c, const std::string& text) override;
    void addRow(Ctl list, const std::string& row) override;
    std::string selectedRow(Ctl list) const override;
    int rowCount(Ctl list) const override;
    void selectRow(Ctl list, int index) override;
    void setVisible(Ctl c, bool visible) override;
    bool isVisible(Ctl c) const override;
    void showMain() override;
    void loadWait(WaitKind w) override;
    void showWait(WaitKind w) override;
    void unloadWait(WaitKind w) override;
    void doEvents() override;
    void settleInput() override;
    void messageBox(const std::string& caption, const std::string& text) override;
    void errorBox(const std::string& text) override;
    void endProgram() override;

    WaitWindow* waitWindow(WaitKind w) const;

private:
    QWidget* widget(Ctl c) const;
    QListWidget* list(Ctl c) const;
    static void drainEvents();

    MainWindow& w_;
    std::map<WaitKind, QPointer<WaitWindow>> waits_;
    bool shownOnce_ = false;
};

} // namespace vantric
