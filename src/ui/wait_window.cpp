#include "ui/wait_window.h"

#include "ui/native_title.h"
#include "ui/qt_look.h"

#include <QGuiApplication>
#include <QScreen>

namespace vantric {

QString WaitWindow::titleFor(WaitKind kind)
{
    switch (kind) {
    case WaitKind::PleastWait: return QString(11, QLatin1Char(' '));
    case WaitKind::PleaseWaitWriting: return QString();
    case WaitKind::PleaseWaitReading: return QStringLiteral(" ");
    }
    return {};
}

QString WaitWindow::messageFor(WaitKind kind)
{
    switch (kind) {
    case WaitKind::PleastWait: return QStringLiteral("Please Wait Checking Your Drives");
    case WaitKind::PleaseWaitWriting: return QStringLiteral("Please Wait Writing To Disk");
    case WaitKind::PleaseWaitReading: return QStringLiteral("Please Wait Reading From Disk");
    }
    return {};
}

WaitWindow::WaitWindow(WaitKind kind)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                           | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("%1").arg(QString::fromStdString(waitName(kind))));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(titleFor(kind));
    setWindowIcon(appIcon());
    setFixedSize(px(3300), px(1950));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new QLabel(messageFor(kind), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(px(120), px(120), px(3015), px(1695));
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::Window, QColor(0, 0, 255));
    lp.setColor(QPalette::WindowText, QColor(192, 192, 192));
    Label1->setPalette(lp);
    Label1->setAutoFillBackground(true);
    Label1->setFont(lookFont("MS Sans Serif", 24, true));
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
