#pragma once

#include "coding/appstate.h"

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace stats {

// "全文键数统计": the keystrokes of the whole test text under the four ways of
// typing it, from the character and word tables built for "更多信息(&M)". Every
// opening recomputes the 24 counts from the tables as they stand, stores them in
// TextKeyCounts and sets TextKeysDone.
class DlgKeys : public QDialog {
    Q_OBJECT
public:
    explicit DlgKeys(coding::AppState &state, QWidget *parent = nullptr);

private:
    coding::AppState &m_state;
    std::array<QLabel *, 24> lblkeys{};
    QPushButton *OKButton;
};

} // namespace stats
