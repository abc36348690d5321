#pragma once

// Lets GoogleTest print Qt strings readably in failure messages. Included into every
// GoogleTest suite over Qt code by the build.

#include <QString>
#include <QStringList>

#include <ostream>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList &l, std::ostream *os) {
    *os << '[' << l.join(QStringLiteral(", ")).toStdString() << ']';
}
