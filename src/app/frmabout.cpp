#include "frmabout.h"

#include "widgets/centring.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace app {

#ifndef TREVIX_VERSION
#define TREVIX_VERSION "4.0"
#endif

QString frmAbout::aboutText() {
    const QString crlf = QStringLiteral("\r\n");
    const QStringList lines = {
        QStringLiteral("Qorvan输入法第四版分词教学系统"),
        QString(),
        QStringLiteral("for  简体中文  Linux（IBus 或 Fcitx 5 输入法框架）"),
        QString(),
        QStringLiteral("出品：Trevix 分词教学系统开发组"),
        QStringLiteral("版本：") + QStringLiteral(TREVIX_VERSION) +
            QStringLiteral("（Linux 桌面版，Qt ") + QString::fromLatin1(qVersion()) +
            QStringLiteral("）"),
        QStringLiteral("编码数据：由 Unihan 四角号码与 jieba 词表生成"),
    };
    return lines.join(crlf);
}

frmAbout::frmAbout(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于Qorvan输入法第四版分词教学系统"));
    setModal(true);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(QPixmap(QStringLiteral(":/pictures/product.png")));
    Picture1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    Label1->setText(aboutText());

    cmdOK = new QPushButton(QStringLiteral("确 定"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(18, 18, 18, 14);
    grid->setHorizontalSpacing(22);
    grid->addWidget(Picture1, 0, 0);
    grid->addWidget(Label1, 0, 1);
    grid->addWidget(cmdOK, 1, 1, Qt::AlignRight);

    setFixedSize(sizeHint());
    widgets::centreOnScreen(*this);
}

} // namespace app
