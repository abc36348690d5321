#pragma once

#include <QColor>

namespace coding {

// The settings keep colours as COLORREF values: 0x00BBGGRR, red in the low byte.
inline QColor colorFromColorRef(qint32 ref) {
    const quint32 v = quint32(ref);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

inline qint32 colorRefFromColor(const QColor &color) {
    const QColor rgb = color.toRgb();
    return qint32(quint32(rgb.red()) | (quint32(rgb.green()) << 8) | (quint32(rgb.blue()) << 16));
}

} // namespace coding
