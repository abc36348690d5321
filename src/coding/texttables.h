#pragma once

#include "coderecord.h"

#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace coding {

struct AppState;

// The character table and the word table of a text, with the codes of every entry.
struct TextTables {
    // Distinct characters other than ASCII letters and digits, in order of first
    // occurrence, each with its count and the codes of its own row in jtzi (the
    // typed text's lone quotes have none).
    QList<CodeRecord> CharTable;
    // Distinct items by length: WordTable[c - 1] holds the items of c characters
    // (class 5: five or more).
    std::array<QList<CodeRecord>, 5> WordTable;
    // Letters and digits: the characters of the runs of tag "4".
    int AlphaCount = 0;

    int CharTableLast() const { return int(CharTable.size()) - 1; }
    int WordCount(size_t lengthClass) const { return int(WordTable[lengthClass].size()); }
};

// Whose tables: they differ in what the word table holds and how its codes are found.
enum class TableKind {
    // The text under test: its words (runs of "0" or "1"), codes by the program's
    // rule (LookupRule::WithLibrary), within a class by count, largest first, by
    // the selection sort the tables have always used: among equal counts the later
    // entry is taken first.
    TestText,
    // What the learner typed: every run of equal tags but "4" (punctuation and
    // blanks too), codes by LookupRule::TypedWord, in order of first occurrence.
    TypedText,
};

// The tables of text under tags (one tag per unit; a text longer than its tags is
// read as far as they go for the word table). The code database is opened when the
// first code is needed. Nothing when the database failed
// (state.codeDatabase.error() says why).
std::optional<TextTables> buildTextTables(AppState &state, const QString &text, const QString &tags,
                                          TableKind kind);

} // namespace coding
