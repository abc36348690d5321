#include "dlguserkeys.h"

#include "keycountframes.h"
#include "usertables.h"

#include "coding/codelookup.h"
#include "widgets/messages.h"

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
    OKButton = addKeyCountExit(*this, *layout, QStringLiteral("退 出(&X)"));
    load();
}

namespace {

// Why the typed text could not be segmented, for the learner.
QString typedTextMessage(const coding::LibraryError &error) {
    switch (error.kind) {
    case coding::LibraryError::Kind::NoLibrary:
        return QStringLiteral("分词库未载入，无法统计用户输入的键数！");
    case coding::LibraryError::Kind::Mismatch:
        return QStringLiteral("分词库返回的分词结果与用户输入的文字不相符，无法统计键数！");
    default:
        return widgets::libraryMessage(error);
    }
}

} // namespace

void DlgUserKeys::load() {
    showKeyCounts(lblkeys, KeyCounts{});
    if (m_state.test.TypedText.isEmpty())
        return;
    if (!m_state.derived.UserKeysDone()) {
        // Only tables that were built whole count as done: a failure is told and
        // the next opening tries again.
        coding::LibraryError error;
        switch (buildUserTables(m_state, &error)) {
        case UserTablesResult::Ok:
            break;
        case UserTablesResult::LibraryFailed:
            m_state.services.messages().show(typedTextMessage(error), QStringLiteral("提示信息"),
                                             coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
            return;
        case UserTablesResult::DatabaseFailed:
            widgets::reportCodeDatabaseError(m_state);
            return;
        }
    }
    m_state.derived.userKeys = countUserKeys(m_state.derived.typed->tables);
    showKeyCounts(lblkeys, *m_state.derived.userKeys);
}

} // namespace stats
