#pragma once

#include "coding/codedatabase.h"

#include <QString>

namespace coding {
struct AppState;
class SegmentationLibrary;
} // namespace coding

namespace stats {

// The codes of an item of the typed text's tables. Close to coding::lookupCodes, but:
//  - a word is found only through its first character's row in jtzi (the first digit
//    of that row's standard code names the word table); a word whose first character
//    has no row has no row itself, and one whose first character's code does not
//    begin with a digit neither;
//  - without a row, an item of the word table (withLibrary) takes the library's code
//    and no short code; a character of the character table simply has no codes;
//  - a lone apostrophe or double quote is never looked up and has no codes at all,
//    so that it counts as punctuation.
// False only when the database failed (codes are then empty).
bool lookupUserCodes(coding::CodeDatabase &db, coding::SegmentationLibrary *library,
                     const QString &item, bool withLibrary, coding::CodePair &codes);

// Rebuilds UserWordTable, UserWordCount and UserAlphaCount from TypedText and
// UserTags: every run of equal tags is an item; runs of "4" (letters and digits) only
// add their length to UserAlphaCount, every other run (punctuation and blanks too)
// enters the class of its length (class 5: five or more), counted once per
// occurrence, in order of first occurrence (not sorted). False when the database
// failed; the tables are then empty.
bool BuildUserWordTable(coding::AppState &state);

// Rebuilds UserCharTable and UserCharLast from TypedText: one entry per distinct
// character that is not an ASCII letter or digit, in order of first occurrence, with
// its count and its codes from jtzi. False when the database failed; the table is
// then empty.
bool BuildUserCharTable(coding::AppState &state);

enum class UserTablesResult {
    Ok,
    LibraryFailed,  // the text could not be segmented; error says why
    DatabaseFailed, // jtdb.dat failed: coding::reportCodeDatabaseError tells the user
};

// Segments TypedText with the library into UserTags and builds both tables. An
// empty TypedText gives empty tables without asking the library. On failure the
// tables are left empty.
UserTablesResult buildUserTables(coding::AppState &state, QString *error);

} // namespace stats
