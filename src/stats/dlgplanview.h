#pragma once

#include "keyplan.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTextEdit;

namespace stats {

// "最优输入": the text as the fewest keys type it, each item followed by the code
// to type (small, grey), the items in alternating colours as the test text shows
// its words; above it the fewest keys and how many fewer they are than the
// cheapest of the four ways.
class DlgPlanView : public QDialog {
    Q_OBJECT
public:
    DlgPlanView(const KeyPlan &plan, int cheapestWay, QWidget *parent = nullptr);

    QLabel *lblSummary;
    QTextEdit *txtPlan;
    QPushButton *cmdClose;
};

} // namespace stats
