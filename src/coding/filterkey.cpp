#include "filterkey.h"

#include "services.h"

namespace coding {

int FilterKey(int keyAscii, const QString &allowed, bool withBackspace, BeepService &beep) {
    QString accepted = allowed.toUpper();
    if (withBackspace)
        accepted += QChar(8);
    if (keyAscii > 0 && keyAscii <= 0xFFFF) {
        const QString key = QString(QChar(char16_t(keyAscii))).toUpper();
        if (accepted.contains(key, Qt::CaseInsensitive))
            return keyAscii;
    }
    beep.beep();
    return 0;
}

} // namespace coding
