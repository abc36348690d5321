#pragma once

#include "codedatabase.h"

#include <QString>

namespace coding {

struct AppState;
class SegmentationLibrary;

// Opens the code database of the application directory (jtdb.dat) unless it is open
// already. False: state.codeDatabase.error() says why (the windows tell the user
// with widgets::reportCodeDatabaseError).
bool openCodeDatabase(AppState &state);

// How an item's codes are found.
enum class LookupRule {
    // The program's rule: a character's row in jtzi; a word's row in the word table
    // chosen by the first digit of its first character's standard code (that
    // character found by this same rule); without a row, the library's code
    // (GetItemCode) and no short code. A lone single or double quote has no codes.
    WithLibrary,
    // The typed text's words: as WithLibrary, except that a word is found only
    // through its first character's own row in jtzi.
    TypedWord,
    // A character's own row in jtzi, nothing else (the text's character table).
    CharacterRow,
    // The same, except that a lone quote has no codes, so that it counts as
    // punctuation (the typed text's character table).
    TypedCharacter,
};

// The codes of a character or a word by rule. False only when the database failed
// (codes are then empty). library may be null: then it has no codes to give.
bool findItemCodes(CodeDatabase &db, SegmentationLibrary *library, const QString &item,
                   CodePair &codes, LookupRule rule = LookupRule::WithLibrary);

// The program's rule over the state, in the program's terms (opens the database).
bool LookupCodes(AppState &state, const QString &item, QString &stdCode, QString &shortCode);

} // namespace coding
