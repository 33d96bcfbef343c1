#include "ui/wait_window.h"

#include "platform/form_layout.h"
#include "ui/native_title.h"
#include "ui/qt_look.h"

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
    const WaitWindowSpec& spec = waitWindowSpec();
    setFixedSize(px(spec.clientWidth), px(spec.clientHeight));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(spec.background.r, spec.background.g, spec.background.b));
    setPalette(pal);
    setAutoFillBackground(true);

    Label1 = new QLabel(messageFor(kind), this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(px(spec.labelLeft), px(spec.labelTop), px(spec.labelWidth), px(spec.labelHeight));
    QPalette lp = Label1->palette();
    lp.setColor(QPalette::Window, QColor(spec.labelBackground.r, spec.labelBackground.g, spec.labelBackground.b));
    lp.setColor(QPalette::WindowText, QColor(spec.labelText.r, spec.labelText.g, spec.labelText.b));
    Label1->setPalette(lp);
    Label1->setAutoFillBackground(true);
    Label1->setFont(lookFont(QString::fromUtf8(spec.font.face), spec.font.points, spec.font.bold, spec.font.italic));
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
