#include "dlgkeys.h"

#include "dlgplanview.h"
#include "keycountframes.h"

#include "coding/codelookup.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace stats {

DlgKeys::DlgKeys(coding::AppState &state, QWidget *parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DlgKeys"));
    setWindowTitle(QStringLiteral("全文键数统计"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    lblkeys = buildKeyCountFrames(*this, *layout);

    auto *best = new QGroupBox(QStringLiteral("最优输入"), this);
    best->setObjectName(QStringLiteral("Frame7"));
    best->setToolTip(QStringLiteral("字词任意组合、各用最短编码时的最少键数！"));
    auto *grid = new QGridLayout(best);
    const char *const captions[6] = {"总键数：",   "字键数：",     "词键数：",
                                     "标点键数：", "字母数字数：", "功能键数："};
    for (int i = 0; i < 6; ++i) {
        auto *caption = new QLabel(QString::fromUtf8(captions[i]), best);
        lblPlan[size_t(i)] = new QLabel(best);
        lblPlan[size_t(i)]->setObjectName(QStringLiteral("lblPlan(%1)").arg(i));
        lblPlan[size_t(i)]->setMinimumWidth(48);
        grid->addWidget(caption, i / 3, (i % 3) * 2, Qt::AlignRight);
        grid->addWidget(lblPlan[size_t(i)], i / 3, (i % 3) * 2 + 1);
    }
    cmdPlanView = new QPushButton(QStringLiteral("逐词查看(&V)…"), best);
    cmdPlanView->setObjectName(QStringLiteral("cmdPlanView"));
    cmdPlanView->setAutoDefault(false);
    grid->addWidget(cmdPlanView, 0, 6, 2, 1, Qt::AlignVCenter);
    layout->addWidget(best);
    OKButton = addKeyCountExit(*this, *layout, QStringLiteral("退   出(&X)"));

    // Load: the labels start empty, then each count is computed and shown.
    for (QLabel *label : lblkeys)
        label->clear();
    m_state.derived.textKeys = countTextKeys(m_state);
    showKeyCounts(lblkeys, *m_state.derived.textKeys);

    // The fewest keys, when the code database can be read (the four ways above
    // come from the tables built already).
    if (coding::openCodeDatabase(m_state))
        m_plan = planFewestKeys(m_state.codeDatabase, m_state.text.text, m_state.text.SegmentTags);
    const KeyCounts &ways = *m_state.derived.textKeys;
    if (m_plan) {
        const int parts[6] = {m_plan->total,     m_plan->charKeys,  m_plan->wordKeys,
                              m_plan->punctKeys, m_plan->alphaKeys, m_plan->funcKeys};
        for (int i = 0; i < 6; ++i)
            lblPlan[size_t(i)]->setText(QString::number(parts[i]));
    } else {
        for (QLabel *label : lblPlan)
            label->setText(QStringLiteral("—"));
    }
    cmdPlanView->setEnabled(m_plan.has_value());
    connect(cmdPlanView, &QPushButton::clicked, this, [this, ways] {
        const int cheapest = std::min(
            {ways[CharStdTotal], ways[CharShortTotal], ways[WordStdTotal], ways[WordShortTotal]});
        DlgPlanView view(*m_plan, cheapest, this);
        execDialog(view);
    });
}

} // namespace stats
