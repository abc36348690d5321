#pragma once

#include <QString>

namespace coding {

class BeepService;

// The key filter of digit-only boxes (the time limit, a custom code): returns
// keyAscii when its character, compared without regard to letter case, is one of
// allowed (or the backspace, code 8, when withBackspace is set); otherwise sounds
// the beep and returns 0, which cancels the key.
int FilterKey(int keyAscii, const QString &allowed, bool withBackspace, BeepService &beep);

} // namespace coding
