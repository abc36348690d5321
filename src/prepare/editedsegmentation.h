#pragma once

// What the segmentation editor saves: the words of its text, as the learner has
// separated them with blanks, become the tag string of the example.

#include <QString>

#include <functional>
#include <optional>

namespace prepare {

// The standard code of a word or a character (empty when it has none); nothing when
// the code database failed.
using StandardCodeLookup = std::function<std::optional<QString>(const QString &item)>;

struct SavedSegmentation {
    QString text;        // the words without the blanks between them
    QString tags;        // one tag per character of text
    QString noCodeWords; // the words without a code of their own, each followed by a blank
};

// The tags of the edited text: its words are what stands between blanks (several
// blanks, or blanks at either end, make no empty word; a line break or tab typed
// into the text separates words as a blank does). Each word takes one tag for all
// its characters, by its first character c:
//  - c a letter or digit, ASCII or full-width: "4";
//  - else, when neither the word nor c has a code (punctuation): "2";
//  - else the word tags alternate "0", "1" from word to word, counted on from the
//    last word of any kind (a word after a "2" or "4" word gets "1"); a word that
//    has no code while c has one goes into noCodeWords.
// c is looked up only when the word has no code. Nothing when a lookup failed.
// 「我们 学习 汉语 。 2006年」 gives 「001100244444」 when 学习 and 汉语 have codes,
// 我们 has none but 我 has one, and 。 has none; noCodeWords is 「我们 」.
std::optional<SavedSegmentation> segmentationForSave(const QString &edited,
                                                     const StandardCodeLookup &standardCode);

} // namespace prepare
