#include "editedsegmentation.h"

#include "coding/tags.h"

#include <QStringList>

namespace prepare {

namespace {

bool separatesWords(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
           c == QLatin1Char('\r') || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Letters and digits, ASCII and full width: the characters that the library tags
// as letters and digits.
bool isLetterOrDigit(QChar c) {
    const char16_t u = c.unicode();
    const auto in = [u](char16_t from, char16_t to) { return u >= from && u <= to; };
    return in(u'0', u'9') || in(u'A', u'Z') || in(u'a', u'z') || in(u'０', u'９') ||
           in(u'Ａ', u'Ｚ') || in(u'ａ', u'ｚ');
}

// The first character of word: one UTF-16 unit, or a surrogate pair.
QString firstCharacter(const QString &word) {
    if (word.size() > 1 && word.at(0).isHighSurrogate() && word.at(1).isLowSurrogate())
        return word.left(2);
    return word.left(1);
}

} // namespace

std::optional<SavedSegmentation> segmentationForSave(const QString &edited,
                                                     const StandardCodeLookup &standardCode) {
    using coding::Tag;
    SavedSegmentation saved;
    int previous = -1;
    qsizetype i = 0;
    const qsizetype n = edited.size();
    while (i < n) {
        while (i < n && separatesWords(edited.at(i)))
            ++i;
        const qsizetype start = i;
        while (i < n && !separatesWords(edited.at(i)))
            ++i;
        if (i == start)
            break;
        const QString word = edited.mid(start, i - start);
        int tag;
        if (isLetterOrDigit(word.at(0))) {
            tag = 4;
        } else {
            const auto wordCode = standardCode(word);
            if (!wordCode)
                return std::nullopt;
            bool firstHasCode = true;
            if (wordCode->isEmpty()) {
                const auto firstCode = standardCode(firstCharacter(word));
                if (!firstCode)
                    return std::nullopt;
                firstHasCode = !firstCode->isEmpty();
            }
            tag = (previous + 1) % 2;
            if (wordCode->isEmpty() && firstHasCode)
                saved.noCodeWords += word + QLatin1Char(' ');
            if (wordCode->isEmpty() && !firstHasCode)
                tag = 2;
        }
        saved.text += word;
        saved.tags += QString(word.size(), QChar(u'0' + tag));
        previous = tag;
    }
    return saved;
}

} // namespace prepare
