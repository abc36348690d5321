#include "dlguserkeys.h"

#include "keycountframes.h"
#include "usertables.h"

#include "coding/codelookup.h"
#include "widgets/centring.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace stats {

DlgUserKeys::DlgUserKeys(coding::AppState &state, QWidget *parent)
    : QDialog(parent), m_state(state) {
    setObjectName(QStringLiteral("DlgUserKeys"));
    setWindowTitle(QStringLiteral("用户输入内容键数统计"));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    lblkeys = buildKeyCountFrames(*this, *layout);
    OKButton = new QPushButton(QStringLiteral("退 出(&X)"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
    widgets::centreOnScreen(*this);
    load();
}

void DlgUserKeys::load() {
    showKeyCounts(lblkeys, KeyCounts{});
    if (m_state.test.TypedText.isEmpty())
        return;
    if (!m_state.derived.UserKeysDone()) {
        // Only tables that were built whole count as done: a failure is told and
        // the next opening tries again.
        QString error;
        switch (buildUserTables(m_state, &error)) {
        case UserTablesResult::Ok:
            break;
        case UserTablesResult::LibraryFailed:
            m_state.services.messages().show(error, QStringLiteral("提示信息"),
                                             coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
            return;
        case UserTablesResult::DatabaseFailed:
            coding::reportCodeDatabaseError(m_state);
            return;
        }
    }
    m_state.derived.userKeys = countUserKeys(m_state.derived.typed->tables);
    showKeyCounts(lblkeys, *m_state.derived.userKeys);
}

} // namespace stats
