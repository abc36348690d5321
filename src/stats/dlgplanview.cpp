#include "dlgplanview.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace stats {

DlgPlanView::DlgPlanView(const KeyPlan &plan, int cheapestWay, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgPlanView"));
    setWindowTitle(QStringLiteral("最优输入"));
    resize(720, 520);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    const int saved = cheapestWay - plan.total;
    lblSummary->setText(
        saved > 0
            ? QStringLiteral("最少键数：%1，比四种输入方法中最省的一种少 %2 键。")
                  .arg(plan.total)
                  .arg(saved)
            : QStringLiteral("最少键数：%1，与四种输入方法中最省的一种相同。").arg(plan.total));
    txtPlan = new QTextEdit(this);
    txtPlan->setObjectName(QStringLiteral("txtPlan"));
    txtPlan->setReadOnly(true);
    txtPlan->setFont(QFont(QStringLiteral("楷体_GB2312"), 16));
    QString html = QStringLiteral("<p style='line-height:160%'>");
    bool second = false;
    for (const PlanItem &item : plan.items) {
        const QString colour =
            item.code.isEmpty() ? QStringLiteral("#000000")
                                : (second ? QStringLiteral("#c00000") : QStringLiteral("#0000c0"));
        if (!item.code.isEmpty())
            second = !second;
        html += QStringLiteral("<span style='color:%1'>%2</span>")
                    .arg(colour, item.text.toHtmlEscaped());
        if (!item.code.isEmpty())
            html += QStringLiteral("<span style='color:#808080;font-size:9pt'>%1</span> ")
                        .arg(item.code);
    }
    html += QStringLiteral("</p>");
    txtPlan->setHtml(html);
    cmdClose = new QPushButton(QStringLiteral("关闭(&C)"), this);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(txtPlan);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
}

} // namespace stats
