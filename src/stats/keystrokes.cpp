#include "keystrokes.h"

#include "coding/appstate.h"

#include <algorithm>

namespace stats {

using coding::CodeRecord;

namespace {

using WordTable = std::array<QList<CodeRecord>, 5>;

// The entries of class c (0 to 4) that the count says are in use.
qsizetype entriesOf(const WordTable &table, const std::array<int, 5> &count, size_t c) {
    return std::clamp<qsizetype>(count[c], 0, table[c].size());
}

// Characters, a surrogate pair counting one.
int characterCount(const QString &s) {
    int n = 0;
    for (qsizetype i = 0; i < s.size(); ++i)
        n += !(s.at(i).isLowSurrogate() && i > 0 && s.at(i - 1).isHighSurrogate());
    return n;
}

bool isBlank(const QString &s) {
    return s == QLatin1String(" ");
}

// Each way of typing is one pass with its own accumulators.

void textCharsStandard(const QList<CodeRecord> &chars, int alpha, KeyCounts &out) {
    int a = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            p += e.count;
            continue;
        }
        a += e.count * codeLength(e.stdCode);
        f += 2 * e.count;
    }
    out[CharStdTotal] = a + f + p + alpha;
    out[CharStdChars] = a;
    out[CharStdPunct] = p;
    out[CharStdFunc] = f;
    out[CharStdAlpha] = alpha;
}

void textCharsShort(const QList<CodeRecord> &chars, int alpha, KeyCounts &out) {
    int t = 0, s = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            p += e.count;
            continue;
        }
        if (!e.shortCode.isEmpty())
            s += e.count * codeLength(e.shortCode);
        else
            t += e.count * codeLength(e.stdCode);
        f += 2 * e.count;
    }
    out[CharShortTotal] = t + s + f + p + alpha;
    out[CharShortStd] = t;
    out[CharShortShort] = s;
    out[CharShortPunct] = p;
    out[CharShortFunc] = f;
    out[CharShortAlpha] = alpha;
}

void textWordsStandard(const WordTable &words, const std::array<int, 5> &count, int sym, int alpha,
                       KeyCounts &out) {
    int a = 0, w = 0, f = 0;
    for (size_t c = 0; c < 5; ++c) {
        for (qsizetype i = 0; i < entriesOf(words, count, c); ++i) {
            const CodeRecord &e = words[c][i];
            (c == 0 ? a : w) += e.count * codeLength(e.stdCode);
            f += 2 * e.count;
        }
    }
    out[WordStdTotal] = w + a + f + sym + alpha;
    out[WordStdChars] = a;
    out[WordStdWords] = w;
    out[WordStdPunct] = sym;
    out[WordStdFunc] = f;
    out[WordStdAlpha] = alpha;
}

void textWordsShort(const WordTable &words, const std::array<int, 5> &count, int sym, int alpha,
                    KeyCounts &out) {
    int t = 0, s1 = 0, s2 = 0, f = 0;
    for (size_t c = 0; c < 5; ++c) {
        for (qsizetype i = 0; i < entriesOf(words, count, c); ++i) {
            const CodeRecord &e = words[c][i];
            if (!e.shortCode.isEmpty())
                (c == 0 ? s1 : s2) += e.count * codeLength(e.shortCode);
            else
                t += e.count * codeLength(e.stdCode);
            f += 2 * e.count;
        }
    }
    out[WordShortTotal] = t + s1 + s2 + f + sym + alpha;
    out[WordShortStd] = t;
    out[WordShortCharShort] = s1;
    out[WordShortWordShort] = s2;
    out[WordShortPunct] = sym;
    out[WordShortFunc] = f;
    out[WordShortAlpha] = alpha;
}

void userCharsStandard(const QList<CodeRecord> &chars, int alpha, KeyCounts &out) {
    int a = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            if (!isBlank(e.text))
                p += e.count;
            continue;
        }
        a += e.count * codeLength(e.stdCode);
        f += 2 * e.count;
    }
    out[CharStdTotal] = a + f + p + alpha;
    out[CharStdChars] = a;
    out[CharStdPunct] = p;
    out[CharStdFunc] = f;
    out[CharStdAlpha] = alpha;
}

void userCharsShort(const QList<CodeRecord> &chars, int alpha, KeyCounts &out) {
    int t = 0, s = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            if (!isBlank(e.text))
                p += e.count;
            continue;
        }
        if (!e.shortCode.isEmpty())
            s += e.count * codeLength(e.shortCode);
        else
            t += e.count * codeLength(e.stdCode);
        f += 2 * e.count;
    }
    out[CharShortTotal] = t + s + f + p + alpha;
    out[CharShortStd] = t;
    out[CharShortShort] = s;
    out[CharShortPunct] = p;
    out[CharShortFunc] = f;
    out[CharShortAlpha] = alpha;
}

// Removes the blanks of every item first; the table keeps the shortened items.
void userWordsStandard(WordTable &words, const std::array<int, 5> &count, int alpha,
                       KeyCounts &out) {
    int a = 0, w = 0, p = 0, f = 0;
    for (size_t c = 0; c < 5; ++c) {
        for (qsizetype i = 0; i < entriesOf(words, count, c); ++i) {
            CodeRecord &e = words[c][i];
            e.text.remove(QLatin1Char(' '));
            if (c == 0) {
                if (e.text.isEmpty())
                    continue;
                if (e.stdCode.isEmpty()) {
                    p += e.count;
                    continue;
                }
                a += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            } else if (!e.text.isEmpty() && e.stdCode.isEmpty()) {
                p += e.count * characterCount(e.text);
            } else {
                w += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            }
        }
    }
    out[WordStdTotal] = w + a + f + p + alpha;
    out[WordStdChars] = a;
    out[WordStdWords] = w;
    out[WordStdPunct] = p;
    out[WordStdFunc] = f;
    out[WordStdAlpha] = alpha;
}

void userWordsShort(const WordTable &words, const std::array<int, 5> &count, int alpha,
                    KeyCounts &out) {
    int t = 0, s1 = 0, s2 = 0, p = 0, f = 0;
    for (size_t c = 0; c < 5; ++c) {
        for (qsizetype i = 0; i < entriesOf(words, count, c); ++i) {
            const CodeRecord &e = words[c][i];
            if (!e.shortCode.isEmpty()) {
                (c == 0 ? s1 : s2) += e.count * codeLength(e.shortCode);
                f += 2 * e.count;
            } else if (!e.text.isEmpty() && e.stdCode.isEmpty()) {
                p += e.count * (c == 0 ? 1 : characterCount(e.text));
            } else {
                t += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            }
        }
    }
    out[WordShortTotal] = t + s1 + s2 + f + p + alpha;
    out[WordShortStd] = t;
    out[WordShortCharShort] = s1;
    out[WordShortWordShort] = s2;
    out[WordShortPunct] = p;
    out[WordShortFunc] = f;
    out[WordShortAlpha] = alpha;
}

QList<CodeRecord> usedEntries(const QList<CodeRecord> &table, int last) {
    return table.first(std::clamp<qsizetype>(qsizetype(last) + 1, 0, table.size()));
}

} // namespace

int codeLength(const QString &code) {
    qsizetype begin = 0, end = code.size();
    while (begin < end && code.at(begin) == QLatin1Char(' '))
        ++begin;
    while (end > begin && code.at(end - 1) == QLatin1Char(' '))
        --end;
    return int(end - begin);
}

KeyCounts countTextKeys(const QList<CodeRecord> &charTable, const WordTable &wordTable,
                        const std::array<int, 5> &wordCount, int alphaCount, int symCount) {
    KeyCounts out{};
    textCharsStandard(charTable, alphaCount, out);
    textCharsShort(charTable, alphaCount, out);
    textWordsStandard(wordTable, wordCount, symCount, alphaCount, out);
    textWordsShort(wordTable, wordCount, symCount, alphaCount, out);
    return out;
}

KeyCounts countTextKeys(const coding::AppState &state) {
    return countTextKeys(usedEntries(state.CharTable, state.CharTableLast), state.WordTable,
                         state.WordCount, state.AlphaCount, state.SymCount);
}

KeyCounts countUserKeys(const QList<CodeRecord> &charTable, WordTable &wordTable,
                        const std::array<int, 5> &wordCount, int alphaCount) {
    KeyCounts out{};
    userCharsStandard(charTable, alphaCount, out);
    userCharsShort(charTable, alphaCount, out);
    userWordsStandard(wordTable, wordCount, alphaCount, out);
    userWordsShort(wordTable, wordCount, alphaCount, out);
    return out;
}

KeyCounts countUserKeys(coding::AppState &state) {
    return countUserKeys(usedEntries(state.UserCharTable, state.UserCharLast), state.UserWordTable,
                         state.UserWordCount, state.UserAlphaCount);
}

const std::array<KeyCountLine, 24> &keyCountLines() {
    static const std::array<KeyCountLine, 24> lines{{
        {QStringLiteral("单字标准码输入时的总键数："), CharStdTotal},
        {QStringLiteral("单字标准码输入时的字键数："), CharStdChars},
        {QStringLiteral("单字标准码输入时的标点键数："), CharStdPunct},
        {QStringLiteral("单字标准码输入时的字母数字数："), CharStdAlpha},
        {QStringLiteral("单字标准码输入时的功能键数："), CharStdFunc},
        {QStringLiteral("单字简码输入时的总键数："), CharShortTotal},
        {QStringLiteral("单字简码输入时的标准码键数："), CharShortStd},
        {QStringLiteral("单字简码输入时的简码键数："), CharShortShort},
        {QStringLiteral("单字简码输入时的标点键数："), CharShortPunct},
        {QStringLiteral("单字简码输入时的字母数字数："), CharShortAlpha},
        {QStringLiteral("单字简码输入时的功能键数："), CharShortFunc},
        {QStringLiteral("词组标准码输入时的总键数："), WordStdTotal},
        {QStringLiteral("词组标准码输入时的字键数："), WordStdChars},
        {QStringLiteral("词组标准码输入时的词键数："), WordStdWords},
        {QStringLiteral("词组标准码输入时的标点键数："), WordStdPunct},
        {QStringLiteral("词组标准码输入时的字母数字数："), WordStdAlpha},
        {QStringLiteral("词组标准码输入时的功能键数："), WordStdFunc},
        {QStringLiteral("词组简码输入时的总键数："), WordShortTotal},
        {QStringLiteral("词组简码输入时的标准码键数："), WordShortStd},
        {QStringLiteral("词组简码输入时的字简码键数："), WordShortCharShort},
        {QStringLiteral("词组简码输入时的词简码键数："), WordShortWordShort},
        {QStringLiteral("词组简码输入时的标点键数："), WordShortPunct},
        {QStringLiteral("词组简码输入时的字母数字数："), WordShortAlpha},
        {QStringLiteral("词组简码输入时的功能键数："), WordShortFunc},
    }};
    return lines;
}

} // namespace stats
