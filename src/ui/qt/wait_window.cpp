// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "ui/qt/wait_window.h"

#include "ui/wait_layout.h"
#include "ui/qt/accessible_interface.h"
#include "ui/qt/native_title.h"
#include "ui/qt/qt_look.h"

#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QScreen>

namespace vantric {

namespace {

// An alert whose text is its message, so that the event announcing it can
// carry the message itself (a text event does, in Qt's AT-SPI bridge).
class AlertAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AlertAccessible(WaitWindow* w) : QAccessibleWidget(w, QAccessible::AlertMessage) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        return t == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                               : QAccessibleWidget::interface_cast(t);
    }

    QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? message() : QAccessibleWidget::text(t);
    }
    QString text(int start, int end) const override { return message().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(message().size()); }

    // Nothing to select, no cursor, no geometry per character.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override
    {
        *start = *end = 0;
        return {};
    }

private:
    QString message() const
    {
        const QLabel* label = static_cast<WaitWindow*>(widget())->Label1;
        return label ? label->text() : QString();
    }
};

} // namespace

QString WaitWindow::titleFor(WaitKind kind)
{
    return QString::fromUtf8(waitText(kind).title);
}

QString WaitWindow::messageFor(WaitKind kind)
{
    return QString::fromUtf8(waitText(kind).message);
}

WaitWindow::WaitWindow(WaitKind kind, QWidget* over)
    : QWidget(over, over ? Qt::ToolTip
                         : Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                               | Qt::MSWindowsFixedSizeDialogHint)
{
    // The keyboard focus stays where it was, on the main window.
    setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setObjectName(QStringLiteral("%1").arg(QString::fromUtf8(waitText(kind).name)));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(titleFor(kind));
    setWindowIcon(appIcon());
    const WaitWindowLayout& layout = waitWindowLayout();
    setFixedSize(px(layout.clientWidth), px(layout.clientHeight));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(layout.background.r, layout.background.g, layout.background.b));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new QLabel(messageFor(kind), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(px(layout.labelLeft), px(layout.labelTop), px(layout.labelWidth), px(layout.labelHeight));
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::Window, QColor(layout.labelBackground.r, layout.labelBackground.g, layout.labelBackground.b));
    lp.setColor(QPalette::WindowText, QColor(layout.labelText.r, layout.labelText.g, layout.labelText.b));
    Label1->setPalette(lp);
    Label1->setAutoFillBackground(true);
    Label1->setFont(lookFont(QString::fromUtf8(layout.font.face), layout.font.points, layout.font.bold, layout.font.italic));
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setWordWrap(true);

    if (over) {
        move(over->mapToGlobal(over->rect().center()) - QPoint(width() / 2, height() / 2));
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    useAccessible<WaitWindow, AlertAccessible>(this);
}

// Qt puts the application's name where the title is empty, and appends
// the display name to the others; the window system is told the blank
// title again whenever Qt may have set it: when the native window is made,
// when the title changes, and once shown.
void WaitWindow::keepTitleExact()
{
    setNativeTitle(windowHandle(), windowTitle());
}

bool WaitWindow::event(QEvent* e)
{
    bool done = QWidget::event(e);
    switch (e->type()) {
    case QEvent::WinIdChange:
    case QEvent::WindowTitleChange:
    case QEvent::Show:
        keepTitleExact();
        break;
    default:
        break;
    }
    return done;
}

void WaitWindow::setVisible(bool visible)
{
    QWidget::setVisible(visible);
    if (visible) {
        keepTitleExact();
        // Announced at once, the message in the events themselves: while
        // the pass blocks the program, no one can ask it what the window
        // says. (Qt's AT-SPI bridge passes on the text, not the alert.)
        QAccessibleEvent alert(this, QAccessible::Alert);
        QAccessible::updateAccessibility(&alert);
        QAccessibleTextInsertEvent text(this, 0, Label1->text());
        QAccessible::updateAccessibility(&text);
    }
}

} // namespace vantric
