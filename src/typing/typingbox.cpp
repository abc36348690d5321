#include "typingbox.h"

#include <algorithm>

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>

namespace typing {

TypingBox::TypingBox(QWidget *parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled);
    // Text that reaches the box some other way (a paste with the mouse) is handed
    // on once the box has settled.
    connect(
        this, &QLineEdit::textChanged, this, [this] { handOnText(); }, Qt::QueuedConnection);
}

void TypingBox::inputMethodEvent(QInputMethodEvent *event) {
    if (!m_checking || event->commitString().isEmpty()) {
        QLineEdit::inputMethodEvent(event);
        m_preedit = event->preeditString();
        fitToPreedit();
        return;
    }
    QString arrived = text();
    if (!arrived.isEmpty())
        clear();
    arrived += event->commitString();
    // The box shows the pre-edit that comes with the commit, without the commit.
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&preeditOnly);
    event->accept();
    m_preedit = event->preeditString();
    fitToPreedit();
    emit typed(arrived);
}

void TypingBox::keyPressEvent(QKeyEvent *event) {
    if (m_checking) {
        switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Backspace:
        case Qt::Key_F2:
            if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier))
                break;
            event->accept();
            emit navigationKey(event->key());
            return;
        default:
            break;
        }
    }
    QLineEdit::keyPressEvent(event);
    if (m_checking)
        handOnText();
}

void TypingBox::keyReleaseEvent(QKeyEvent *event) {
    if (m_checking && !event->isAutoRepeat())
        emit keyReleased();
    QLineEdit::keyReleaseEvent(event);
}

void TypingBox::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    emit focusEntered();
}

void TypingBox::handOnText() {
    if (!m_checking || text().isEmpty())
        return;
    const QString arrived = text();
    clear();
    emit typed(arrived);
}

QVariant TypingBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    if (query == Qt::ImCursorRectangle) {
        // The candidate window goes next to this rectangle: at the caret's left,
        // kept inside the box even when the box is too narrow for its text, and as
        // high as the box, so that a window put below or above it never covers
        // the box and the pre-edit in it.
        const QRect box = rect();
        const QRect caret = cursorRect();
        const int left = box.contains(caret.center())
                             ? std::clamp(caret.left(), box.left(), box.right())
                             : box.left();
        return QRect(left, box.top(), 1, box.height());
    }
    return QLineEdit::inputMethodQuery(query);
}

void TypingBox::fitToPreedit() {
    QRect g = geometry();
    if (m_preedit.isEmpty()) {
        if (m_restWidth > 0 && m_restWidth != g.width()) {
            g.setLeft(g.right() - m_restWidth + 1);
            if (g.left() < 0)
                g.moveLeft(0);
            setGeometry(g);
        }
        m_restWidth = -1;
        return;
    }
    if (m_restWidth < 0)
        m_restWidth = g.width();
    const QMargins m = textMargins() + contentsMargins();
    const int need =
        fontMetrics().horizontalAdvance(text() + m_preedit) + m.left() + m.right() + 12;
    const int width = std::max(m_restWidth, need);
    if (width == g.width())
        return;
    g.setLeft(g.right() - width + 1);
    if (g.left() < 0)
        g.moveLeft(0);
    setGeometry(g);
    if (QGuiApplication::inputMethod())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
}

} // namespace typing
