// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The main window's widgets, laid out at their fixed places. It holds no
// logic: clicks are passed on through the callbacks.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include "app/form_layout.h"

#include <functional>
#include <map>
#include <string>

namespace vantric {

// Names the control for assistive technology after what it shows.
void speak(QWidget* w, Ctl c, const std::string& caption);

// The drive list: a row chosen with the mouse, or the selection moved with
// the keyboard, is a click. Focus coming in, or the program setting the
// current row, is not.
class DriveList : public QListWidget {
public:
    explicit DriveList(QWidget* parent);
    std::function<void()> onChosen;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

class MainWindow : public QWidget, public FormEvents {
public:
    MainWindow();

    DriveList* List1;
    QListWidget* List2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label9;
    QPushButton *Command1, *Command2, *Command3, *Command4;
    QLineEdit* Text1;
    QLabel *lblDrive, *lblSN, *lblFree, *lblTot;

    // nullptr while the window is still being made.
    QWidget* widget(Ctl c) const
    {
        auto it = widgets_.find(c);
        return it == widgets_.end() ? nullptr : it->second;
    }

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    QWidget* make(const ControlLayout& c);
    std::map<Ctl, QWidget*> widgets_;
    std::map<QObject*, Ctl> inputs_; // where input for a click of a control arrives
};

} // namespace vantric
