#include "digitbox.h"

#include "coding/filterkey.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace widgets {

void makeDigitBox(QLineEdit &box) {
    box.setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), &box));
    box.setInputMethodHints(Qt::ImhDigitsOnly);
    box.setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool dropsNonDigitKey(const QEvent &event, coding::BeepService &beep) {
    if (event.type() != QEvent::KeyPress)
        return false;
    const auto &key = static_cast<const QKeyEvent &>(event);
    const QString text = key.text();
    if (text.isEmpty() || (key.modifiers() & Qt::ControlModifier) ||
        (text.at(0) < u' ' && text.at(0) != u'\b'))
        return false;
    return coding::FilterKey(text.at(0).unicode(), QStringLiteral("0123456789"), true, beep) == 0;
}

} // namespace widgets
