#pragma once

#include "coding/segmentationlibrary.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace prepare {

// A text and its segmentation tags, one tag per character, position for position.
struct PreparedText {
    QString text;
    QString tags;
    bool operator==(const PreparedText &) const = default;
};

// What "打开(&O)" removes from a text.
struct PrepareOptions {
    bool filterSymbols = false;  // the user's filter symbols ("过滤符号")
    bool filterAlphaNum = false; // letters and digits ("过滤字母与数字")
    QStringList symbols;         // the filter symbols, as they stand in the filter list
};

// The full-width form of text: U+0021..U+007E become U+FF01..U+FF5E and the blank
// becomes U+3000; every other character stays as it is.
QString toFullWidth(QString text);

// Prepares a segmented text for display, in this order:
//  1. every character that stands somewhere under tag "2" is widened, wherever it
//     occurs in the text;
//  2. "·" becomes "." (after widening, so it stays narrow);
//  3. when either filter is on: characters under "2" that match a filter symbol
//     (both widened; a symbol of several characters matches a run of "2"), and
//     characters under "4" when letters and digits are filtered, are removed with
//     their tags, and every "[" becomes "［".
// tags must have one tag per character of text.
PreparedText prepareText(const QString &text, const QString &tags, const PrepareOptions &options);

// Segments text with the library and prepares it. On failure returns nothing and
// sets error (tags that do not fit the text are LibraryError::Kind::Mismatch).
std::optional<PreparedText> segmentAndPrepare(coding::SegmentationLibrary &library,
                                              const QString &text, const PrepareOptions &options,
                                              coding::LibraryError *error);

// Whether the prepared text holds a Chinese character (a word tag) to type: after
// the filters a text of letters may keep only punctuation, which is no test.
bool holdsChineseCharacter(const PreparedText &prepared);

// The text for the segmentation editor: a blank (tag "3") after every position
// where the tag changes, so that the words stand apart. Never before the first or
// after the last character. 「我们学习。」/「00112」 becomes 「我们 学习 。」/「0031132」.
PreparedText insertSeparators(const PreparedText &prepared);

} // namespace prepare
