#include "dlgmissed.h"

#include "keyplan.h"

#include "coding/codelookup.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace stats {

DlgMissed::DlgMissed(coding::AppState &state, const QString &text, const QString &tags,
                     const QList<coding::TypedInput> &inputs, QWidget *parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("DlgMissed"));
    setWindowTitle(QStringLiteral("错过的捷径"));
    resize(640, 480);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblNote = new QLabel(QStringLiteral("“分开输入”按各部分最少的键数计算，是确定的；"
                                        "“编码较长”按按键放开的时刻推算每次上屏的键数，可能不准。"),
                         this);
    lblNote->setObjectName(QStringLiteral("lblNote"));
    lblNote->setWordWrap(true);
    tblMissed = new QTableWidget(0, 5, this);
    tblMissed->setObjectName(QStringLiteral("tblMissed"));
    tblMissed->setHorizontalHeaderLabels({QStringLiteral("字词"), QStringLiteral("你的输入"),
                                          QStringLiteral("最优编码"), QStringLiteral("可省键数"),
                                          QStringLiteral("依据")});
    tblMissed->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblMissed->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblMissed->verticalHeader()->hide();
    tblMissed->horizontalHeader()->setStretchLastSection(true);
    cmdClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(tblMissed, 1);
    layout->addWidget(lblNote);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);

    if (inputs.isEmpty()) {
        lblSummary->setText(QStringLiteral("这次测试没有输入记录，无法比较。"));
        return;
    }
    std::optional<KeyPlan> plan;
    if (coding::openCodeDatabase(state))
        plan = planFewestKeys(state.codeDatabase, text, tags);
    if (!plan) {
        lblSummary->setText(QStringLiteral("编码数据库无法读取，无法比较。"));
        return;
    }
    const QList<MissedShortcut> missed =
        findMissedShortcuts(*plan, text, inputs, [&state](const QString &part) {
            return fewestKeysOf(state.codeDatabase, part);
        });
    int total = 0, inferred = 0;
    tblMissed->setRowCount(int(missed.size()));
    for (int row = 0; row < missed.size(); ++row) {
        const MissedShortcut &m = missed.at(row);
        const bool certain = m.kind == MissedShortcut::Kind::InParts;
        total += m.saved;
        if (!certain)
            inferred += m.saved;
        const QString cells[5] = {
            m.item, m.typedAs, m.bestCode,
            (certain ? QStringLiteral("至少 ") : QString()) + QString::number(m.saved),
            certain ? QStringLiteral("分开输入") : QStringLiteral("编码较长（推算）")};
        for (int column = 0; column < 5; ++column)
            tblMissed->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    tblMissed->resizeColumnsToContents();
    lblSummary->setText(
        missed.isEmpty() ? QStringLiteral("没有错过的捷径：每处都按最少的键数输入了。")
                         : QStringLiteral("错过 %1 处捷径，共可少击约 %2 键（其中 %3 键为推算）。")
                               .arg(missed.size())
                               .arg(total)
                               .arg(inferred));
}

} // namespace stats
