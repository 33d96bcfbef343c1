// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// The three "please wait" windows: black, with one blue label carrying the
// message. They react to nothing; their callers load, show and unload them.

#include "platform/window_system.h"

#include <QLabel>
#include <QWidget>

namespace vantric {

class WaitWindow : public QWidget {
public:
    // over: the window to show it over as a popup, which takes no keyboard
    // focus and has no title; nullptr for a window of its own.
    explicit WaitWindow(WaitKind kind, QWidget* over = nullptr);

    static QString titleFor(WaitKind kind);
    static QString messageFor(WaitKind kind);

    QLabel* Label1 = nullptr;

    void setVisible(bool visible) override;

protected:
    bool event(QEvent* e) override;

private:
    void keepTitleExact();
};

} // namespace vantric
