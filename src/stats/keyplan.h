#pragma once

// The fewest keys (最少键数) that type a text, under the rules of the four ways of
// the keystroke dialogs: each run of Chinese characters may be split into any
// characters and words of the code database, each typed with its shortest code
// (standard or short) and costing that code's keys plus two function keys; a
// character without a code costs one key; each punctuation mark one key; each
// letter or digit one key. Exact: a shortest path over each run, not a greedy
// choice.

#include "coding/appstate.h"
#include "coding/codedatabase.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace stats {

struct PlanItem {
    enum class Kind {
        Character,   // a Chinese character with a code
        Word,        // a word of the code database
        NoCode,      // a character without a code: one key
        Punctuation, // one key a mark
        AlphaNum,    // letters and digits, one key each
    };
    int start = 0; // where it begins in the text (UTF-16)
    QString text;
    QString code; // the code typed (Character and Word), else empty
    int keys = 0; // its keys, function keys included
    Kind kind = Kind::Character;

    friend bool operator==(const PlanItem &, const PlanItem &) = default;
};

struct KeyPlan {
    QList<PlanItem> items; // in the order of the text
    int total = 0;
    int charKeys = 0;  // code keys of single characters (and characters without a code)
    int wordKeys = 0;  // code keys of words
    int punctKeys = 0; // punctuation
    int funcKeys = 0;  // two a character or word typed with a code
    int alphaKeys = 0; // letters and digits
};

// The longest word the plan tries, in characters.
inline constexpr int kLongestPlannedWord = 12;

// The plan of text with its tags (one a UTF-16 unit: "0"/"1" words, "2"
// punctuation, "4" letters and digits, "3" a separating blank that costs
// nothing). Nothing, with *error set, when the code database fails.
std::optional<KeyPlan> planFewestKeys(coding::CodeDatabase &db, const QString &text,
                                      const QString &tags, QString *error = nullptr);

// A place where a test spent more keys than the fewest keys' way.
struct MissedShortcut {
    enum class Kind {
        InParts,    // an item of the best way typed in several inputs (certain)
        LongerCode, // typed as one input with more keys than its shortest code (inferred)
    };
    int start = 0;
    QString item;     // the item of the best way
    QString typedAs;  // the inputs that typed it, " | " between them
    QString bestCode; // its shortest code
    int saved = 0;    // keys the best way saves; for InParts at least this many
    Kind kind = Kind::InParts;

    friend bool operator==(const MissedShortcut &, const MissedShortcut &) = default;
};

// The places of the test's inputs where the best way of plan saves keys, in the
// order of the text. An item typed in parts is certain from the inputs: it saves at
// least what the parts cost at the fewest (partKeys, the fewest keys that type a
// part) less the item's own. An item typed in one input with more keys than its
// shortest code rests on the inputs' inferred keys. Inputs typed again after a
// move back count as they were last typed; items whose inputs reach beyond them are
// left out (the learner split the text otherwise: nothing certain to say).
QList<MissedShortcut> findMissedShortcuts(const KeyPlan &plan, const QString &text,
                                          const QList<coding::TypedInput> &inputs,
                                          const std::function<int(const QString &)> &partKeys);

// The fewest keys that type text alone (a run of Chinese characters), or 0 when the
// code database fails.
int fewestKeysOf(coding::CodeDatabase &db, const QString &text);

// The characters of text (a surrogate pair counting once): what 理论码长 divides by.
int characterCount(const QString &text);

// "我们(2328) 学习(3241) ，" : the items separated by blanks, each with a code
// followed by it in parentheses.
QString formatPlan(const KeyPlan &plan);

} // namespace stats
