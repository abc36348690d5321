#pragma once

#include "coding/appstate.h"
#include "keyplan.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace stats {

// "全文键数统计": the keystrokes of the whole test text under the four ways of
// typing it, from the character and word tables built for "更多信息(&M)". Every
// opening recomputes the 24 counts from the tables as they stand, stores them in
// TextKeyCounts and sets TextKeysDone. Below them "最优输入": the fewest keys that type
// the text (planFewestKeys) with the same parts, and "逐词查看(&V)…" showing the way.
class DlgKeys : public QDialog {
    Q_OBJECT
public:
    explicit DlgKeys(coding::AppState &state, QWidget *parent = nullptr);

    // Runs a dialog modally; tests replace it so that nothing blocks.
    std::function<int(QDialog &)> execDialog = [](QDialog &dialog) { return dialog.exec(); };

    // The fewest keys' total and parts: total, single characters' code keys, words'
    // code keys, punctuation, letters and digits, function keys ("—" without a plan).
    std::array<QLabel *, 6> lblPlan{};
    QPushButton *cmdPlanView;
    const std::optional<KeyPlan> &plan() const { return m_plan; }

private:
    coding::AppState &m_state;
    std::array<QLabel *, 24> lblkeys{};
    QPushButton *OKButton;
    std::optional<KeyPlan> m_plan;
};

} // namespace stats
