#pragma once

#include <QString>

namespace coding {

struct AppState;

// Rebuilds WordTable and WordCount from text and state.SegmentTags: every distinct
// word (a run of tag "0" or "1"; punctuation and letters/digits are left out) with
// its count and its codes (LookupCodes' rules), in five length classes, the fifth
// holding words of five or more characters. Within a class the entries are ordered
// by count, largest first, by the selection sort the tables have always used: among
// equal counts the later entry is taken first. False when the database failed; the
// table is then empty. Does not touch WordTableDone.
bool BuildWordTable(AppState &state, const QString &text);

} // namespace coding
