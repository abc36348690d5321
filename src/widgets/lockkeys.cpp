#include "lockkeys.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QWidget>

namespace widgets {

namespace {

void *x11Display() {
#if QT_CONFIG(xcb)
    if (auto *x11 =
            qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
#endif
    return nullptr;
}

} // namespace

LockKeys::LockKeys(QObject *parent) : QObject(parent) {
    m_display = x11Display();
    if (m_display) {
        if (auto first = readX11LockStates(m_display))
            m_states = *first;
        else
            m_display = nullptr; // no indicators: follow the keys instead
    }
    if (m_display) {
        // Another program, or a key pressed while another window had the focus,
        // can change the indicators too.
        m_poll.setInterval(500);
        connect(&m_poll, &QTimer::timeout, this, &LockKeys::readIndicators);
        m_poll.start();
    }
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

LockKeys::~LockKeys() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool LockKeys::eventFilter(QObject *watched, QEvent *event) {
    // A key event passes the filter on its way through the window and on to the
    // focus widget (and its parents when ignored); it counts once, at the widget
    // that receives it: the focus widget, or the window when nothing has the focus.
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()) {
        const auto *widget = static_cast<QWidget *>(watched);
        const QWidget *focus = QApplication::focusWidget();
        const bool receiver = focus ? widget == focus : widget->isWindow();
        const auto *key = static_cast<QKeyEvent *>(event);
        if (receiver && !key->isAutoRepeat() &&
            (key->key() == Qt::Key_CapsLock || key->key() == Qt::Key_NumLock)) {
            if (m_display) {
                // The server switches the indicator itself; read it once the
                // press has been handled.
                QTimer::singleShot(50, this, &LockKeys::readIndicators);
            } else {
                LockStates next = m_states;
                if (key->key() == Qt::Key_CapsLock)
                    next.capsLock = !next.capsLock;
                else
                    next.numLock = !next.numLock;
                set(next);
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

void LockKeys::readIndicators() {
    if (auto states = readX11LockStates(m_display))
        set(*states);
}

void LockKeys::set(LockStates states) {
    if (states.capsLock == m_states.capsLock && states.numLock == m_states.numLock)
        return;
    m_states = states;
    emit changed();
}

} // namespace widgets
