#pragma once
// The main window's widgets, laid out at their fixed places. It holds no
// logic: clicks are passed on through the callbacks.

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWidget>

#include <functional>

namespace vantric {

class MainWindow : public QWidget {
public:
    MainWindow();

    QListWidget* List1;
    QListWidget* List2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label9;
    QPushButton *Command1, *Command2, *Command3, *Command4;
    QLineEdit* Text1;
    QLabel *lblDrive, *lblSN, *lblFree, *lblTot;

    std::function<void()> onList1Click, onCommand1, onCommand2, onCommand3, onCommand4, onClosed;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    bool rowJustChanged_ = false;
};

} // namespace vantric
