#pragma once

#include <QList>
#include <QString>

namespace coding {

// A custom word with its numeric code, as the segmentation library keeps it.
struct CustomWord {
    QString word;
    QString code;

    friend bool operator==(const CustomWord &, const CustomWord &) = default;
};

// The words of the library's custom-word file ("<word>\t<code>" lines, UTF-8), in
// file order: lines that are not a usable word and a code of 1 to 6 digits are
// skipped, and the first line of a word wins, as the library reads it. A missing
// or unreadable file gives no words.
QList<CustomWord> readCustomWordFile(const QString &path);

} // namespace coding
