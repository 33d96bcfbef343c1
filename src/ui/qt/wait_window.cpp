#include "ui/qt/wait_window.h"

#include "ui/wait_layout.h"
#include "ui/qt/native_title.h"
#include "ui/qt/qt_look.h"

#include <QGuiApplication>
#include <QScreen>

namespace vantric {

QString WaitWindow::titleFor(WaitKind kind)
{
    return QString::fromUtf8(waitTitle(kind));
}

QString WaitWindow::messageFor(WaitKind kind)
{
    return QString::fromStdString(waitMessage(kind));
}

WaitWindow::WaitWindow(WaitKind kind)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("%1").arg(QString::fromStdString(waitName(kind))));
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

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
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
    if (visible)
        keepTitleExact();
}

} // namespace vantric
