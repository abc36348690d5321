#include "codelookup.h"

#include "appstate.h"

#include <QHash>

namespace coding {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetterOrDigit(QChar c) {
    return isAsciiDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

// The length in UTF-16 units of the character that starts at i.
qsizetype characterLength(const QString &s, qsizetype i) {
    return (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
}

void libraryFallback(SegmentationLibrary *library, const QString &item, CodePair &codes) {
    codes = {};
    if (library)
        codes.stdCode = library->getItemCode(item);
}

} // namespace

bool isSingleCharacter(const QString &item) {
    return !item.isEmpty() && characterLength(item, 0) == item.size();
}

bool openCodeDatabase(AppState &state) {
    return state.codeDatabase.open(state.appDir.dataFile(QStringLiteral("jtdb.dat")));
}

void reportCodeDatabaseError(AppState &state) {
    const QString text = state.codeDatabase.takeUnreportedError();
    if (!text.isEmpty())
        state.services.messages().show(text, QStringLiteral("提示信息"), MsgButtons::Ok,
                                       MsgIcon::Exclamation);
}

bool lookupCodes(CodeDatabase &db, SegmentationLibrary *library, const QString &item,
                 CodePair &codes) {
    codes = {};
    if (item.isEmpty())
        return true;
    if (isSingleCharacter(item)) {
        if (item == QLatin1String("\"") || item == QLatin1String("'"))
            return true;
        switch (db.findChar(item, codes)) {
        case CodeDatabase::Result::Found:
            return true;
        case CodeDatabase::Result::NotFound:
            libraryFallback(library, item, codes);
            return true;
        case CodeDatabase::Result::Failed:
            return false;
        }
        return false;
    }

    // A word lies in the table of the first digit of its first character's code.
    CodePair first;
    if (!lookupCodes(db, library, item.left(characterLength(item, 0)), first))
        return false;
    if (first.stdCode.isEmpty())
        return true;
    const QChar d = first.stdCode.at(0);
    if (!isAsciiDigit(d)) {
        libraryFallback(library, item, codes);
        return true;
    }
    switch (db.findWord(d.unicode() - '0', item, codes)) {
    case CodeDatabase::Result::Found:
        return true;
    case CodeDatabase::Result::NotFound:
        libraryFallback(library, item, codes);
        return true;
    case CodeDatabase::Result::Failed:
        return false;
    }
    return false;
}

bool LookupCodes(AppState &state, const QString &item, QString &stdCode, QString &shortCode) {
    stdCode.clear();
    shortCode.clear();
    CodePair codes;
    if (!openCodeDatabase(state) ||
        !lookupCodes(state.codeDatabase, state.library.get(), item, codes))
        return false;
    stdCode = codes.stdCode;
    shortCode = codes.shortCode;
    return true;
}

bool BuildCharTable(AppState &state, const QString &text) {
    state.CharTable.clear();
    state.CharTableLast = -1;

    QList<CodeRecord> table;
    QHash<QString, qsizetype> index;
    bool opened = false;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = characterLength(text, i);
        const QString c = text.mid(i, len);
        i += len;
        if (len == 1 && isAsciiLetterOrDigit(c.at(0)))
            continue;
        if (const auto it = index.constFind(c); it != index.constEnd()) {
            ++table[*it].count;
            continue;
        }
        if (!opened && !openCodeDatabase(state))
            return false;
        opened = true;
        CodePair codes;
        if (state.codeDatabase.findChar(c, codes) == CodeDatabase::Result::Failed)
            return false;
        index.insert(c, table.size());
        table.append({c, 1, codes.stdCode, codes.shortCode});
    }
    state.CharTable = std::move(table);
    state.CharTableLast = int(state.CharTable.size()) - 1;
    return true;
}

} // namespace coding
