#include "dlgkeys.h"

#include "keycountframes.h"

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
    OKButton = addKeyCountExit(*this, *layout, QStringLiteral("退   出(&X)"));

    // Load: the labels start empty, then each count is computed and shown.
    for (QLabel *label : lblkeys)
        label->clear();
    m_state.derived.textKeys = countTextKeys(m_state);
    showKeyCounts(lblkeys, *m_state.derived.textKeys);
}

} // namespace stats
