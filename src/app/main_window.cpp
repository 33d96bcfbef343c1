#include "app/main_window.h"

#include "ui/qt_look.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QScreen>

namespace vantric {

namespace {

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(px(left), px(top), px(width), px(height));
}

QLabel* label(QWidget* parent, const char* name, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
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
    l->setFont(lookFont("Arial", 12, true));
}

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    // Enter on a focused button clicks it, as the space bar does.
    b->setAutoDefault(true);
    return b;
}

} // namespace

MainWindow::MainWindow()
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName("frmDrive");
    setWindowTitle(" Vantric");
    setWindowIcon(appIcon());
    setFixedSize(px(8985), px(6630));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Button));
    setPalette(pal);
    setAutoFillBackground(true);

    const QFont listFont = lookFont("Courier New", 9.75);
    const QFont buttonFont = lookFont("Verdana", 9.75, true, true);

    // Storage controls: never shown.
    Text1 = new QLineEdit("C", this);
    Text1->setObjectName("Text1");
    Text1->hide();
    Label2 = label(this, "Label2", "Label2");
    lblDrive = label(this, "lblDrive", "");
    lblSN = label(this, "lblSN", "");
    lblFree = label(this, "lblFree", "");
    lblTot = label(this, "lblTot", "");
    for (QWidget* w : {static_cast<QWidget*>(Label2), static_cast<QWidget*>(lblDrive), static_cast<QWidget*>(lblSN),
                       static_cast<QWidget*>(lblFree), static_cast<QWidget*>(lblTot)})
        w->hide();

    List1 = new DriveList(this);
    List1->setObjectName("List1");
    place(List1, 50, 50, 8895, 2460);
    List1->setFont(listFont);
    List1->setToolTip(" Click On Drive To Start Vantric");
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    Command3 = button(this, "Command3", "");
    place(Command3, 3000, 2640, 375, 360);
    Label9 = label(this, "Label9", "1M");
    place(Label9, 3430, 2640, 1995, 360);
    valueBox(Label9);
    Command1 = button(this, "Command1", "");
    place(Command1, 5520, 2640, 375, 360);

    Label6 = label(this, "Label6", "Write [MB/s]");
    place(Label6, 480, 2760, 1815, 375);
    Label6->setFont(lookFont("MS Sans Serif", 12, true));
    Label7 = label(this, "Label7", "Read [MB/s]");
    place(Label7, 6720, 2760, 1935, 255);
    Label7->setFont(lookFont("MS Sans Serif", 12, true));

    Label1 = label(this, "Label1", "");
    place(Label1, 50, 3120, 2600, 360);
    valueBox(Label1);
    Command2 = button(this, "Command2", "&Exit");
    place(Command2, 3000, 3120, 2895, 375);
    Command2->setFont(buttonFont);
    Label4 = label(this, "Label4", "");
    place(Label4, 6300, 3120, 2600, 360);
    valueBox(Label4);

    Label3 = label(this, "Label3", "");
    place(Label3, 0, 3600, 2535, 360);
    Label3->setFont(lookFont("MS Sans Serif", 9.75));
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Command4 = button(this, "Command4", "&Save Log File");
    place(Command4, 3000, 3600, 2895, 375);
    Command4->setFont(buttonFont);
    Command4->hide();
    Label5 = label(this, "Label5", "");
    place(Label5, 6300, 3600, 2600, 360);
    Label5->setFont(lookFont("MS Sans Serif", 9.75));
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    List2 = new QListWidget(this);
    List2->setObjectName("List2");
    place(List2, 50, 4100, 8895, 2460);
    List2->setFont(listFont);
    List2->setSelectionMode(QAbstractItemView::SingleSelection);

    setTabOrder(Command2, List1);
    setTabOrder(List1, Command1);
    setTabOrder(Command1, Command3);
    setTabOrder(Command3, List2);
    setTabOrder(List2, Command4);

    connect(Command1, &QPushButton::clicked, this, [this] { if (onCommand1) onCommand1(); });
    connect(Command2, &QPushButton::clicked, this, [this] { if (onCommand2) onCommand2(); });
    connect(Command3, &QPushButton::clicked, this, [this] { if (onCommand3) onCommand3(); });
    connect(Command4, &QPushButton::clicked, this, [this] { if (onCommand4) onCommand4(); });

    List1->onChosen = [this] {
        if (onList1Click)
            onList1Click();
    };

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

DriveList::DriveList(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem*) {
        if (onChosen)
            onChosen();
    });
}

void DriveList::keyPressEvent(QKeyEvent* e)
{
    const int before = currentRow();
    QListWidget::keyPressEvent(e);
    if (currentRow() >= 0 && currentRow() != before && onChosen)
        onChosen();
}

void MainWindow::closeEvent(QCloseEvent* e)
{
    if (onClosed)
        onClosed();
    e->accept();
}

} // namespace vantric
