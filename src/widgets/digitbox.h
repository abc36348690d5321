#pragma once

class QEvent;
class QLineEdit;

namespace coding {
class BeepService;
}

namespace widgets {

// Makes box a digit-only box, as the time limit and the custom codes are: its
// validator takes digits only (typed or pasted) and the input method stays off.
void makeDigitBox(QLineEdit &box);

// The key filter of a digit-only box, for its event filter: true (the key is to
// be dropped, the beep sounded) for a printable key that is not a digit. The
// backspace, Tab, Enter, Esc and Ctrl shortcuts pass.
bool dropsNonDigitKey(const QEvent &event, coding::BeepService &beep);

} // namespace widgets
