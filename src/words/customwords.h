#pragma once

// What the custom-word dialogs read: the items of a segmentation result file, and
// the words that the segmentation editor found without a code.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace words {

// The items of a list file, read as a list input reads them: an item ends at an
// ASCII comma or at the end of a line; blanks and tabs around an unquoted item are
// dropped; a double-quoted item is taken without its quotes (commas inside the
// quotes are part of it). An empty line gives one empty item. content is decoded
// in the encoding the program's text files are judged by (GB18030 unless it is
// recognisably UTF-8 or UTF-16).
QStringList listItems(const QByteArray &content);

// The result text of a segmentation result file: each item preceded by one blank.
QString resultText(const QStringList &items);

// The distinct words of the segmentation editor's hand-over text (words each
// followed by one blank): split at every blank, the last piece (after the final
// blank) unused, empty pieces skipped, a word that equals an earlier one without
// regard to letter case skipped.
QStringList handOverWords(const QString &handOver);

} // namespace words
