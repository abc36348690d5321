#pragma once

// Characters in UTF-16 text: a character outside the Basic Multilingual Plane is a
// surrogate pair, two units that always go together.

#include <QString>

namespace coding::utf16 {

// The length in units (1 or 2) of the character that starts at i.
inline qsizetype characterLength(QStringView s, qsizetype i) {
    return (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
}

// True when i is the second unit of a surrogate pair.
inline bool isSecondHalf(QStringView s, qsizetype i) {
    return i > 0 && i < s.size() && s.at(i).isLowSurrogate() && s.at(i - 1).isHighSurrogate();
}

// Where the character before position i starts.
inline qsizetype previousCharacterStart(QStringView s, qsizetype i) {
    return isSecondHalf(s, i - 1) ? i - 2 : i - 1;
}

// The number of characters, a surrogate pair counting one.
inline qsizetype characterCount(QStringView s) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); i += characterLength(s, i))
        ++n;
    return n;
}

// Whether s is exactly one character.
inline bool isSingleCharacter(QStringView s) {
    return !s.isEmpty() && characterLength(s, 0) == s.size();
}

} // namespace coding::utf16
