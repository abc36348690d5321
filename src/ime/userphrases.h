#pragma once

// The user's own phrases of the Qorvan input method in each framework, where the
// framework reads them for this user alone (no root, no system file touched):
//
// - IBus (ibus-table): the user database <data home>/ibus-table/tables/qorvan-user.db,
//   an SQLite file whose table "phrases" ibus-table reads beside the system table,
//   and the engine's cache of looked-up codes (qorvan.cache, JSON) beside it, from
//   which the codes that a new phrase changes are dropped.
// - Fcitx 5 (libime): the user dictionary <data home>/fcitx5/table/qorvan.user.dict,
//   libime's binary user table, written with libime_tabledict (Debian libime-bin).
//
// Adding never removes anything: what the user or the framework put there stays.
// Deleting these files (and the library's custom-word file) removes the words.

#include "coding/customword.h"

#include <QString>

namespace ime {

struct UserPhraseFiles {
    QString ibusDatabase;
    QString ibusCache;
    QString fcitxDictionary;

    // The files below dataHome (what $XDG_DATA_HOME or ~/.local/share is).
    static UserPhraseFiles under(const QString &dataHome);
    // The files of the user who runs the program.
    static UserPhraseFiles forUser();
};

// Adds the words that the IBus user database lacks (same code and word), creating
// the database as ibus-table would when there is none, in one transaction, and
// drops the looked-up codes that each added word changes from the cache file.
// Returns the number of words added, or -1 with *error set (nothing is added then).
int addIbusUserPhrases(const UserPhraseFiles &files, const QList<coding::CustomWord> &words,
                       QString *error);

// The same for the Fcitx 5 user dictionary: its phrases are read (libime_tabledict
// -d -u), the missing words added and the whole written anew beside it, then moved
// over it. tool is the libime_tabledict to run.
int addFcitxUserPhrases(const UserPhraseFiles &files, const QList<coding::CustomWord> &words,
                        QString *error, const QString &tool = QStringLiteral("libime_tabledict"));

} // namespace ime
