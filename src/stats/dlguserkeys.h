#pragma once

#include "coding/appstate.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace stats {

// "用户输入内容键数统计": the same 24 keystroke counts as DlgKeys for the text as far
// as the learner typed it (TypedText). The first opening after UserKeysDone became
// false segments TypedText and builds the typed text's tables (stats::buildUserTables);
// later openings reuse them without asking the library again. The counts go to
// UserKeyCounts. Nothing typed: every count shows 0 and nothing changes.
class DlgUserKeys : public QDialog {
    Q_OBJECT
public:
    explicit DlgUserKeys(coding::AppState &state, QWidget *parent = nullptr);

private:
    void load();

    coding::AppState &m_state;
    std::array<QLabel *, 24> lblkeys{};
    QPushButton *OKButton;
};

} // namespace stats
