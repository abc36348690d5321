#pragma once

#include "coding/appstate.h"
#include "coding/texttables.h"

#include <QList>
#include <QString>

#include <array>

namespace stats {

// How many keystrokes a text costs under four ways of typing it: single characters
// with standard codes, single characters with short codes where they exist, words
// with standard codes, words with short codes. 24 counts in one index layout, shared
// by the whole text (TextKeyCounts, DlgKeys) and the typed text (UserKeyCounts,
// DlgUserKeys); the index is also that of the label lblkeys(i) that shows a count.
//
// Every counted character or word costs its code's keys plus two function keys;
// punctuation costs one key a character, letters and digits one key each.
using KeyCounts = coding::KeyCounts;

enum KeyIndex : int {
    // single characters, standard code
    CharStdTotal = 0,
    CharStdChars = 1, // A: character keys
    CharStdPunct = 2, // P
    CharStdFunc = 3,  // F
    // single characters, short code
    CharShortTotal = 4,
    CharShortStd = 5,   // T: standard-code keys of characters without a short code
    CharShortShort = 6, // S
    CharShortPunct = 7, // P
    CharShortFunc = 8,  // F
    // words, standard code
    WordStdTotal = 9,
    WordStdChars = 10, // A: keys of one-character words
    WordStdWords = 11, // W: keys of longer words
    WordStdPunct = 12,
    WordStdFunc = 13,
    // words, short code
    WordShortTotal = 14,
    WordShortStd = 15,       // T
    WordShortCharShort = 16, // S1: short codes of one-character words
    WordShortWordShort = 17, // S2: short codes of longer words
    WordShortPunct = 18,
    WordShortFunc = 19,
    // letters and digits, one key each, the same in all four ways
    CharStdAlpha = 20,
    CharShortAlpha = 21,
    WordStdAlpha = 22,
    WordShortAlpha = 23,
};

// The number of keys of a code: its length without leading and trailing blanks.
int codeLength(const QString &code);

// The keystrokes of the whole text, from its tables (a character without a
// standard code is punctuation), its letters and digits and its punctuation count.
// The character ways take the punctuation from the character table, the word ways
// take symCount, since the text's word table holds no punctuation.
KeyCounts countTextKeys(const coding::TextTables &tables, int alphaCount, int symCount);
// The same over the state: the text's tables (derived.textTables; none count as
// empty tables) and the text's AlphaCount and SymCount.
KeyCounts countTextKeys(const coding::AppState &state);

// The keystrokes of the typed text, from its tables (buildUserTables). In the
// character ways a blank costs nothing and any other character without a standard
// code is punctuation. In the word ways each item is counted without its blanks; an
// item without a standard code is punctuation costing one key a character, except
// that an item left empty adds nothing as a one-character item and two function keys
// in the other cases.
KeyCounts countUserKeys(const coding::TextTables &tables);

// One count line of the statistics report: its label and the index of its count.
// The report and trevix-analyse give the 24 lines in this order, each label followed
// directly by its value.
struct KeyCountLine {
    QString label;
    int index;
};
const std::array<KeyCountLine, 24> &keyCountLines();

} // namespace stats
