// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#pragma once
// A window of our own that answers assistive technology through its own
// interface. Qt asks for a widget's interface as soon as the widget exists,
// while it is still a plain QWidget that no factory can tell apart, so at
// the end of the window's constructor the interface made then is dropped
// and the next one is made for the finished window.

#include <QAccessible>

namespace vantric {

// `Accessible` is made from a `Window*`; called at the end of each such
// window's constructor. The factory goes in once per pair.
template <typename Window, typename Accessible> void useAccessible(Window* window)
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString&, QObject* object) -> QAccessibleInterface* {
            auto* w = dynamic_cast<Window*>(object);
            return w ? new Accessible(w) : nullptr;
        });
        return true;
    }();
    (void)installed;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(window);
    if (made && !dynamic_cast<Accessible*>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

} // namespace vantric
