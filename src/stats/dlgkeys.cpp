#include "dlgkeys.h"

#include "keycountframes.h"

#include "widgets/centring.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace stats {

DlgKeys::DlgKeys(coding::AppState &state, QWidget *parent) : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DlgKeys"));
    setWindowTitle(QStringLiteral("全文键数统计"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    lblkeys = buildKeyCountFrames(*this, *layout);
    OKButton = new QPushButton(QStringLiteral("退   出(&X)"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    widgets::centreOnScreen(*this);

    // Load: the labels start empty, then each count is computed and shown.
    for (QLabel *label : lblkeys)
        label->clear();
    m_state.derived.textKeys = countTextKeys(m_state);
    showKeyCounts(lblkeys, *m_state.derived.textKeys);
}

} // namespace stats
