#pragma once

// Practice texts: built-in lessons from the program's own item list (qorvan.txt:
// "<item>\t<code>\t<short codes>\t<frequency>" lines), and drills from the words
// a learner got wrong or typed the long way. No windows.

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace typing {

enum class LessonKind {
    TwoCharacterWords,   // 二字词
    ThreeCharacterWords, // 三字词
    FourCharacterWords,  // 四字词
    ShortCodeItems,      // 简码字词: characters and words that have a short code
};
inline constexpr int kLessonSets = 5; // graded sets a kind, the most frequent first
inline constexpr int kWordsPerSet = 30;

// "二字词" ...: the menu caption of a kind.
QString lessonKindName(LessonKind kind);

// The words of set (0 the most frequent) of kind, from the item list at itemsPath.
// Nothing, with *error set, when the list cannot be read.
std::optional<QStringList> lessonWords(const QString &itemsPath, LessonKind kind, int set,
                                       QString *error);

// A practice text: each word repeats times (more when the text would stay under
// minimumCharacters), in an order mixed by seed, a "，" after every four words and a
// "。" at the end. Empty for no words.
QString practiceText(const QStringList &words, int repeats, quint32 seed,
                     int minimumCharacters = 20);

} // namespace typing
