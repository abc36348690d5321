#pragma once

#include "coding/appstate.h"
#include "resultshistory.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;
class QTextEdit;

namespace history {

// "错误回顾": a test's text with the characters the learner got wrong marked (dark
// red on light red, underlined, what was typed in the tool tip), and the list of the
// items they got wrong with what they typed instead and each item's codes.
class DlgReview : public QDialog {
    Q_OBJECT
public:
    DlgReview(coding::AppState &state, const TestDetail &detail, QWidget *parent = nullptr);

    QLabel *lblSummary;
    QTextEdit *txtText;
    QTableWidget *tblWords;
    QPushButton *cmdClose;
};

} // namespace history
