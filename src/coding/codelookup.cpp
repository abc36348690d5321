#include "codelookup.h"

#include "appstate.h"
#include "utf16.h"

namespace coding {

namespace {

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isLoneQuote(const QString &item) {
    return item == QLatin1String("\"") || item == QLatin1String("'");
}

// The first character's code, by the word's rule; Failed when the database failed.
CodeDatabase::Result firstCharacterCode(CodeDatabase &db, SegmentationLibrary *library,
                                        const QString &word, LookupRule rule, CodePair &first) {
    const QString c = word.left(utf16::characterLength(word, 0));
    if (rule == LookupRule::WithLibrary)
        return findItemCodes(db, library, c, first, rule) ? CodeDatabase::Result::Found
                                                          : CodeDatabase::Result::Failed;
    return db.findChar(c, first);
}

} // namespace

bool openCodeDatabase(AppState &state) {
    return state.codeDatabase.open(state.appDir.dataFile(QStringLiteral("jtdb.dat")));
}

bool findItemCodes(CodeDatabase &db, SegmentationLibrary *library, const QString &item,
                   CodePair &codes, LookupRule rule) {
    codes = {};
    if (item.isEmpty() || (rule != LookupRule::CharacterRow && isLoneQuote(item)))
        return true;
    const bool rowOnly = rule == LookupRule::CharacterRow || rule == LookupRule::TypedCharacter;

    CodeDatabase::Result found = CodeDatabase::Result::NotFound;
    if (utf16::isSingleCharacter(item)) {
        found = db.findChar(item, codes);
    } else if (!rowOnly) {
        CodePair first;
        found = firstCharacterCode(db, library, item, rule, first);
        if (found == CodeDatabase::Result::Found) {
            // Under the program's rule a first character without a code leaves the
            // word without one too.
            if (first.stdCode.isEmpty() && rule == LookupRule::WithLibrary)
                return true;
            found = !first.stdCode.isEmpty() && isAsciiDigit(first.stdCode.at(0))
                        ? db.findWord(first.stdCode.at(0).unicode() - u'0', item, codes)
                        : CodeDatabase::Result::NotFound;
        }
    }
    if (found == CodeDatabase::Result::Failed) {
        codes = {};
        return false;
    }
    if (found == CodeDatabase::Result::NotFound) {
        codes = {};
        if (!rowOnly && library)
            codes.stdCode = library->getItemCode(item);
    }
    return true;
}

bool LookupCodes(AppState &state, const QString &item, QString &stdCode, QString &shortCode) {
    stdCode.clear();
    shortCode.clear();
    CodePair codes;
    if (!openCodeDatabase(state) ||
        !findItemCodes(state.codeDatabase, state.library.get(), item, codes))
        return false;
    stdCode = codes.stdCode;
    shortCode = codes.shortCode;
    return true;
}

} // namespace coding
