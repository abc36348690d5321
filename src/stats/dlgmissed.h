#pragma once

#include "coding/appstate.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

namespace stats {

// "错过的捷径": where a test spent more keys than the fewest keys' way — a word typed
// in parts although it has a code (certain, from the inputs), an item typed with
// more keys than its shortest code (inferred from the key releases) — with what was
// typed, the best code and the keys it saves, and the total.
class DlgMissed : public QDialog {
    Q_OBJECT
public:
    // The test's text, tags and inputs (none: a test recorded without them).
    DlgMissed(coding::AppState &state, const QString &text, const QString &tags,
              const QList<coding::TypedInput> &inputs, QWidget *parent = nullptr);

    QLabel *lblSummary;
    QLabel *lblNote;
    QTableWidget *tblMissed;
    QPushButton *cmdClose;
};

} // namespace stats
