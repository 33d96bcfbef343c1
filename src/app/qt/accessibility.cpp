// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/accessibility.h"

#include "app/form_layout.h"
#include "app/qt/main_window.h"
#include "ui/qt/accessible_interface.h"

#include <QAccessibleWidget>

#include <vector>

namespace vantric {

namespace {

// A frame (not a filler), whose children are the controls the window shows
// or may show: the storage controls stay out of the tree.
class FrameAccessible : public QAccessibleWidget {
public:
    explicit FrameAccessible(MainWindow* w) : QAccessibleWidget(w, QAccessible::Window) {}

    int childCount() const override { return static_cast<int>(exposed().size()); }

    QAccessibleInterface* child(int index) const override
    {
        const std::vector<QWidget*> e = exposed();
        return index >= 0 && index < static_cast<int>(e.size()) ? QAccessible::queryAccessibleInterface(e[index])
                                                                 : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        const std::vector<QWidget*> e = exposed();
        for (std::size_t i = 0; i < e.size(); ++i)
            if (child && child->object() == e[i])
                return static_cast<int>(i);
        return -1;
    }

private:
    std::vector<QWidget*> exposed() const
    {
        auto* w = static_cast<MainWindow*>(widget());
        std::vector<QWidget*> out;
        for (const ControlLayout& c : mainWindowControls())
            if (!isStorage(c))
                out.push_back(w->widget(c.ctl));
        return out;
    }
};

} // namespace

void exposeToAssistiveTechnology(MainWindow& w)
{
    useAccessible<MainWindow, FrameAccessible>(&w);
}

} // namespace vantric
