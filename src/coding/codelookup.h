#pragma once

#include "codedatabase.h"

#include <QString>

namespace coding {

struct AppState;
class SegmentationLibrary;

// Opens the code database of the application directory (jtdb.dat) unless it is open
// already. False: state.codeDatabase.errorString() says why.
bool openCodeDatabase(AppState &state);

// For windows, after a function here returned false: tells the user under "提示信息"
// that jtdb.dat is missing or damaged. The same trouble is told once, not per lookup.
void reportCodeDatabaseError(AppState &state);

// Whether item is one character (one code point, possibly a surrogate pair).
bool isSingleCharacter(const QString &item);

// The codes of a character or a word: its row in jtzi, or in the word table chosen
// by the first digit of its first character's standard code; without a row, the
// library's code (GetItemCode) and no short code. A lone single or double quote
// has no codes. False only when the database failed (codes are then empty).
bool lookupCodes(CodeDatabase &db, SegmentationLibrary *library, const QString &item,
                 CodePair &codes);

// The same over the program's state, in the program's terms.
bool LookupCodes(AppState &state, const QString &item, QString &stdCode, QString &shortCode);

// Rebuilds CharTable and CharTableLast from text (the test text): one entry per
// distinct character that is not an ASCII letter or digit, in order of first
// occurrence, with its count and its codes from jtzi (no library fallback). False
// when the database failed; the table is then empty.
bool BuildCharTable(AppState &state, const QString &text);

} // namespace coding
