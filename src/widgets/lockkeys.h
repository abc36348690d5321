#pragma once

#include "x11lockstate.h"

#include <QObject>
#include <QTimer>

namespace widgets {

// The state of Caps Lock and Num Lock for the status bars. On X11 it reads the
// keyboard indicators and keeps reading them; elsewhere (Wayland, offscreen) no
// platform call tells, so it starts with both off and follows the Caps Lock and
// Num Lock key presses that reach the program. A failure to read is not an error.
class LockKeys : public QObject {
    Q_OBJECT
public:
    explicit LockKeys(QObject *parent = nullptr);
    ~LockKeys() override;

    bool capsLock() const { return m_states.capsLock; }
    bool numLock() const { return m_states.numLock; }
    // True when the states come from the keyboard indicators.
    bool readsIndicators() const { return m_display != nullptr; }

signals:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void readIndicators();
    void set(LockStates states);

    LockStates m_states;
    void *m_display = nullptr; // the X11 display, when there is one
    QTimer m_poll;
};

} // namespace widgets
