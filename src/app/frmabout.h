#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

// "关于Qorvan输入法第四版分词教学系统": the product picture, the title, the
// platform line and the publisher's lines; "确 定" closes it.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

    // The text of Label1: its lines joined with CR LF, blank lines between groups.
    static QString aboutText();

    QLabel *Picture1;
    QLabel *Label1;
    QPushButton *cmdOK;
};

} // namespace app
