#include "dlgreview.h"

#include "historyfigures.h"

#include "coding/codelookup.h"
#include "coding/textcolouring.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace history {

DlgReview::DlgReview(coding::AppState &state, const TestDetail &detail, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DlgReview"));
    setWindowTitle(QStringLiteral("错误回顾"));
    resize(760, 560);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    txtText = new QTextEdit(this);
    txtText->setObjectName(QStringLiteral("txtText"));
    txtText->setReadOnly(true);
    txtText->setFont(QFont(QStringLiteral("楷体_GB2312"), 16));
    tblWords = new QTableWidget(0, 4, this);
    tblWords->setObjectName(QStringLiteral("tblWords"));
    tblWords->setHorizontalHeaderLabels({QStringLiteral("应为"), QStringLiteral("输入成"),
                                         QStringLiteral("标准编码"), QStringLiteral("简码")});
    tblWords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblWords->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblWords->verticalHeader()->hide();
    tblWords->horizontalHeader()->setStretchLastSection(true);
    cmdClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(txtText, 3);
    layout->addWidget(tblWords, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    const QList<WrongWord> words = wrongWords(detail);
    if (detail.text.isEmpty()) {
        lblSummary->setText(QStringLiteral("这次测试的文本没有保存，无法回顾。"));
        txtText->hide();
        tblWords->hide();
        return;
    }
    lblSummary->setText(detail.mistakes.isEmpty() ? QStringLiteral("这次测试没有错字。")
                                                  : QStringLiteral("错 %1 字，在 %2 个词（字）中。")
                                                        .arg(detail.mistakes.size())
                                                        .arg(words.size()));
    txtText->setPlainText(detail.text);
    QTextCursor cursor(txtText->document());
    // Marked the same whatever the colours of the test: dark red on light red.
    QTextCharFormat wrong;
    wrong.setBackground(QColor(255, 205, 205));
    wrong.setForeground(QColor(170, 0, 0));
    wrong.setFontUnderline(true);
    for (const Mistake &m : detail.mistakes) {
        cursor.setPosition(m.position);
        cursor.setPosition(m.position + int(m.expected.size()), QTextCursor::KeepAnchor);
        QTextCharFormat format = wrong;
        format.setToolTip(QStringLiteral("输入成：%1").arg(m.typed));
        cursor.mergeCharFormat(format);
    }
    tblWords->setRowCount(int(words.size()));
    for (int row = 0; row < words.size(); ++row) {
        const WrongWord &w = words.at(row);
        QString stdCode, shortCode;
        coding::LookupCodes(state, w.word, stdCode, shortCode);
        const QString cells[4] = {w.word, w.typed, stdCode, shortCode};
        for (int column = 0; column < 4; ++column)
            tblWords->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    tblWords->resizeColumnsToContents();
}

} // namespace history
