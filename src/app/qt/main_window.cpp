// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Vantric developers
#include "app/qt/main_window.h"

#include "app/drive_keys.h"
#include "app/qt/accessibility.h"
#include "app/form_layout.h"
#include "ui/qt/qt_look.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcutEvent>

namespace vantric {

namespace {

void place(QWidget* w, const ControlLayout& c)
{
    w->setGeometry(px(c.left), px(c.top), px(c.width), px(c.height));
}

// Window background, window text, a single-line border, centred text.
void valueBox(QLabel* l)
{
    QPalette p = l->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    p.setColor(QPalette::WindowText, p.color(QPalette::Text));
    l->setPalette(p);
    l->setAutoFillBackground(true);
    l->setFrameStyle(QFrame::Box | QFrame::Plain);
    l->setLineWidth(1);
    l->setAlignment(Qt::AlignCenter);
}

} // namespace

void speak(QWidget* w, Ctl c, const std::string& caption)
{
    if (const std::string name = spokenName(c, caption); !name.empty())
        w->setAccessibleName(QString::fromStdString(name));
}

QWidget* MainWindow::make(const ControlLayout& c)
{
    const QString caption = QString::fromUtf8(c.caption);
    QWidget* w = nullptr;
    switch (c.kind) {
    case ControlKind::Label: {
        auto* l = new QLabel(caption, this);
        if (c.look == Look::ValueBox)
            valueBox(l);
        else if (c.look == Look::CentredNoBorder)
            l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        w = l;
        break;
    }
    case ControlKind::TextBox: w = new QLineEdit(caption, this); break;
    case ControlKind::ListBox: {
        QListWidget* l = c.ctl == Ctl::List1 ? new DriveList(this) : new QListWidget(this);
        l->setSelectionMode(QAbstractItemView::SingleSelection);
        w = l;
        break;
    }
    case ControlKind::Button: {
        auto* b = new QPushButton(caption, this);
        // Enter on a focused button clicks it, as the space bar does.
        b->setAutoDefault(true);
        w = b;
        break;
    }
    }
    w->setObjectName(QString::fromUtf8(c.name));
    if (c.width > 0)
        place(w, c);
    if (c.font.face)
        w->setFont(lookFont(QString::fromUtf8(c.font.face), c.font.points, c.font.bold, c.font.italic));
    if (c.tooltip)
        w->setToolTip(QString::fromUtf8(c.tooltip));
    speak(w, c.ctl, c.caption);
    if (const std::string d = spokenDescription(c.ctl); !d.empty())
        w->setAccessibleDescription(QString::fromStdString(d));
    if (!c.visible)
        w->hide();
    return w;
}

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    const MainWindowLayout& layout = mainWindowLayout();
    setObjectName("frmDrive");
    setWindowTitle(QString::fromUtf8(layout.title));
    setWindowIcon(appIcon());
    // Qt's own title bar on Wayland offers to maximize whatever the flags say, and a compositor then
    // refuses a window that keeps its size: there it may grow, its controls staying where they are.
    if (QGuiApplication::platformName().startsWith("wayland"))
        setMinimumSize(px(layout.clientWidth), px(layout.clientHeight));
    else
        setFixedSize(px(layout.clientWidth), px(layout.clientHeight));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    // Made in focus order, which is the order Tab follows.
    QWidget* previous = nullptr;
    for (const ControlLayout& c : mainWindowControls()) {
        QWidget* w = make(c);
        widgets_[c.ctl] = w;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
    List1 = static_cast<DriveList*>(widgets_[Ctl::List1]);
    List2 = static_cast<QListWidget*>(widgets_[Ctl::List2]);
    for (auto [ctl, label] : {std::pair {Ctl::Label1, &Label1}, {Ctl::Label2, &Label2}, {Ctl::Label3, &Label3},
                              {Ctl::Label4, &Label4}, {Ctl::Label5, &Label5}, {Ctl::Label6, &Label6},
                              {Ctl::Label7, &Label7}, {Ctl::Label9, &Label9}, {Ctl::lblDrive, &lblDrive},
                              {Ctl::lblSN, &lblSN}, {Ctl::lblFree, &lblFree}, {Ctl::lblTot, &lblTot}})
        *label = static_cast<QLabel*>(widgets_[ctl]);
    for (auto [ctl, button] : {std::pair {Ctl::Command1, &Command1}, {Ctl::Command2, &Command2},
                               {Ctl::Command3, &Command3}, {Ctl::Command4, &Command4}})
        *button = static_cast<QPushButton*>(widgets_[ctl]);
    Text1 = static_cast<QLineEdit*>(widgets_[Ctl::Text1]);

    for (auto [ctl, button] : {std::pair {Ctl::Command1, Command1}, {Ctl::Command2, Command2},
                               {Ctl::Command3, Command3}, {Ctl::Command4, Command4}}) {
        connect(button, &QPushButton::clicked, this, [this, ctl] { clicked(ctl); });
        inputs_[button] = ctl;
        button->installEventFilter(this);
    }
    List1->onChosen = [this] { clicked(Ctl::List1); };
    for (QObject* o : {static_cast<QObject*>(List1), static_cast<QObject*>(List1->viewport())}) {
        inputs_[o] = Ctl::List1;
        o->installEventFilter(this);
    }

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    exposeToAssistiveTechnology(*this);
}

DriveList::DriveList(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (onChosen)
            onChosen();
    });
}

// Space and Enter choose the focused row, a drive letter that drive's row;
// other characters do nothing. Keys without text (arrows, Home, Page Down)
// move the selection, and the row it lands on is chosen.
void DriveList::keyPressEvent(QKeyEvent* e)
{
    const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const QString text = enter ? QStringLiteral("\r") : e->text();
    if (plain && text.size() == 1 && (enter || text[0].isPrint())) {
        std::vector<std::string> rows;
        for (int i = 0; i < count(); ++i)
            rows.push_back(item(i)->text().toStdString());
        const DriveKey key = driveKey(text[0].unicode(), rows);
        if (key.kind == DriveKey::ChooseRow) {
            setCurrentRow(key.row);
            scrollToItem(item(key.row));
        }
        if (key.kind != DriveKey::Ignore && currentRow() >= 0 && onChosen)
            onChosen();
        e->accept();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(e);
    if (currentRow() >= 0 && currentRow() != before && onChosen)
        onChosen();
}

// Notes where input that may end in a click begins, so that what begins
// during a run clicks nothing after it. An access key clicks its button at
// once rather than after a short animation: pressed at a processing point
// of a run, it is handled there.
bool MainWindow::eventFilter(QObject* o, QEvent* e)
{
    switch (e->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::Shortcut:
        if (auto it = inputs_.find(o); it != inputs_.end()) {
            inputBegun(it->second);
            auto* button = qobject_cast<QPushButton*>(o);
            if (button && e->type() == QEvent::Shortcut && !static_cast<QShortcutEvent*>(e)->isAmbiguous()) {
                button->click();
                return true;
            }
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(o, e);
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (onClosed)
        onClosed();
    e->accept();
}

} // namespace vantric
