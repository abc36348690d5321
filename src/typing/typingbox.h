#pragma once

#include <QLineEdit>

namespace typing {

// The test window's input box tmpText. The learner types into it through the
// input method; while the test runs (setChecking(true)) the box hands on what
// arrives instead of keeping it:
//  - a commit of the input method, with any characters left in the box before it
//    (typed while the test was paused), goes out as one typed() text and never
//    enters the box; the pre-edit (the code being composed) is shown in the box as
//    usual and never handed on;
//  - characters typed without the input method (English keyboard) go out the same
//    way once the box has taken them, and the box is emptied;
//  - the navigation keys (Left, Right, Backspace, F2) go out as navigationKey()
//    and do nothing in the box;
//  - every key that is let go in the box goes out as keyReleased() (a held key
//    that repeats counts once).
// While the test does not run the box is an ordinary line edit: typed characters
// stay in it. The box widens to show a long pre-edit (keeping its right edge) and
// tells the input method where it is, so that the candidate window stays next to
// it.
class TypingBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TypingBox(QWidget *parent = nullptr);

    void setChecking(bool on) { m_checking = on; }
    bool checking() const { return m_checking; }
    // The pre-edit being composed, as the box shows it.
    QString preedit() const { return m_preedit; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void typed(const QString &text);
    void navigationKey(int key);
    void keyReleased();
    // The box received the keyboard focus.
    void focusEntered();

protected:
    void inputMethodEvent(QInputMethodEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;

private:
    void handOnText();
    void fitToPreedit();

    bool m_checking = false;
    QString m_preedit;
    int m_restWidth = -1; // the width to go back to when the pre-edit ends
};

} // namespace typing
