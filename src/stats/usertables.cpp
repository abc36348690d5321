#include "usertables.h"

#include "coding/appstate.h"
#include "coding/codelookup.h"
#include "coding/segmentationlibrary.h"

#include <QHash>

namespace stats {

using coding::CodeDatabase;
using coding::CodePair;
using coding::CodeRecord;

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isAsciiLetterOrDigit(QChar c) {
    return isAsciiDigit(c) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool isLoneQuote(const QString &item) {
    return item == QLatin1String("'") || item == QLatin1String("\"");
}

// The length in UTF-16 units of the character that starts at i.
qsizetype characterLength(const QString &s, qsizetype i) {
    return (s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) ? 2 : 1;
}

qsizetype characterCount(const QString &s) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); i += characterLength(s, i))
        ++n;
    return n;
}

void clearWordTable(coding::AppState &state) {
    for (auto &entries : state.UserWordTable)
        entries.clear();
    state.UserWordCount.fill(0);
    state.UserAlphaCount = 0;
}

void clearCharTable(coding::AppState &state) {
    state.UserCharTable.clear();
    state.UserCharLast = -1;
}

} // namespace

bool lookupUserCodes(CodeDatabase &db, coding::SegmentationLibrary *library, const QString &item,
                     bool withLibrary, CodePair &codes) {
    codes = {};
    if (item.isEmpty() || isLoneQuote(item))
        return true;

    CodeDatabase::Result found = CodeDatabase::Result::NotFound;
    if (coding::isSingleCharacter(item)) {
        found = db.findChar(item, codes);
    } else {
        CodePair first;
        found = db.findChar(item.left(characterLength(item, 0)), first);
        if (found == CodeDatabase::Result::Found) {
            found = CodeDatabase::Result::NotFound;
            if (!first.stdCode.isEmpty() && isAsciiDigit(first.stdCode.at(0)))
                found = db.findWord(first.stdCode.at(0).unicode() - '0', item, codes);
        }
    }
    if (found == CodeDatabase::Result::Failed) {
        codes = {};
        return false;
    }
    if (found == CodeDatabase::Result::NotFound) {
        codes = {};
        if (withLibrary && library)
            codes.stdCode = library->getItemCode(item);
    }
    return true;
}

bool BuildUserWordTable(coding::AppState &state) {
    clearWordTable(state);
    const QString &text = state.TypedText;
    const QString &tags = state.UserTags;
    const qsizetype n = std::min(text.size(), tags.size());
    std::array<QList<CodeRecord>, 5> table;
    std::array<QHash<QString, qsizetype>, 5> index;
    int alpha = 0;
    bool opened = false;
    for (qsizetype p = 0; p < n;) {
        const QChar m = tags.at(p);
        const qsizetype start = p;
        while (p < n && tags.at(p) == m)
            ++p;
        const QString item = text.mid(start, p - start);
        if (m == QLatin1Char('4')) {
            alpha += int(characterCount(item));
            continue;
        }
        const size_t c = size_t(std::min<qsizetype>(characterCount(item), 5) - 1);
        if (const auto it = index[c].constFind(item); it != index[c].constEnd()) {
            ++table[c][*it].count;
            continue;
        }
        if (!opened && !coding::openCodeDatabase(state))
            return false;
        opened = true;
        CodePair codes;
        if (!lookupUserCodes(state.codeDatabase, state.library.get(), item, true, codes))
            return false;
        index[c].insert(item, table[c].size());
        table[c].append({item, 1, codes.stdCode, codes.shortCode});
    }
    for (size_t c = 0; c < table.size(); ++c) {
        state.UserWordCount[c] = int(table[c].size());
        state.UserWordTable[c] = std::move(table[c]);
    }
    state.UserAlphaCount = alpha;
    return true;
}

bool BuildUserCharTable(coding::AppState &state) {
    clearCharTable(state);
    const QString &text = state.TypedText;
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
        if (!opened && !coding::openCodeDatabase(state))
            return false;
        opened = true;
        CodePair codes;
        if (!lookupUserCodes(state.codeDatabase, nullptr, c, false, codes))
            return false;
        index.insert(c, table.size());
        table.append({c, 1, codes.stdCode, codes.shortCode});
    }
    state.UserCharTable = std::move(table);
    state.UserCharLast = int(state.UserCharTable.size()) - 1;
    return true;
}

UserTablesResult buildUserTables(coding::AppState &state, QString *error) {
    clearWordTable(state);
    clearCharTable(state);
    state.UserTags.clear();
    if (state.TypedText.isEmpty())
        return UserTablesResult::Ok;

    QString why;
    QString tags;
    if (state.library)
        tags = state.library->divideSentence(state.TypedText, &why);
    else
        why = QStringLiteral("分词库未载入，无法统计用户输入的键数！");
    if (tags.isNull() || tags.size() != state.TypedText.size()) {
        if (why.isEmpty())
            why = QStringLiteral("分词库返回的分词结果与用户输入的文字不相符，无法统计键数！");
        if (error)
            *error = why;
        return UserTablesResult::LibraryFailed;
    }
    state.UserTags = tags;
    if (!BuildUserWordTable(state) || !BuildUserCharTable(state)) {
        clearWordTable(state);
        clearCharTable(state);
        return UserTablesResult::DatabaseFailed;
    }
    return UserTablesResult::Ok;
}

} // namespace stats
