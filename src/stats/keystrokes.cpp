#include "keystrokes.h"

#include "coding/utf16.h"

#include <algorithm>

namespace stats {

using coding::CodeRecord;

namespace {

using WordTable = std::array<QList<CodeRecord>, 5>;

bool isBlank(const QString &s) {
    return s == QLatin1String(" ");
}

// The text's tables and the typed text's are counted by the same passes; for the
// typed text a blank costs nothing, an item is counted without its blanks, and an
// item without a standard code is punctuation.
enum class Counting { Text, Typed };

// The item as it is counted.
QString countedText(const CodeRecord &e, Counting counting) {
    return counting == Counting::Typed ? QString(e.text).remove(QLatin1Char(' ')) : e.text;
}

// A typed item that is left with characters but has no standard code.
bool isTypedPunctuation(const CodeRecord &e, const QString &text, Counting counting) {
    return counting == Counting::Typed && !text.isEmpty() && e.stdCode.isEmpty();
}

// Each way of typing is one pass with its own accumulators.

void charsStandard(const QList<CodeRecord> &chars, int alpha, Counting counting, KeyCounts &out) {
    int a = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            if (!(counting == Counting::Typed && isBlank(e.text)))
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

void charsShort(const QList<CodeRecord> &chars, int alpha, Counting counting, KeyCounts &out) {
    int t = 0, s = 0, p = 0, f = 0;
    for (const CodeRecord &e : chars) {
        if (e.stdCode.isEmpty()) {
            if (!(counting == Counting::Typed && isBlank(e.text)))
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

void wordsStandard(const WordTable &words, int sym, int alpha, Counting counting, KeyCounts &out) {
    int a = 0, w = 0, p = 0, f = 0;
    for (size_t c = 0; c < words.size(); ++c) {
        for (const CodeRecord &e : words[c]) {
            const QString text = countedText(e, counting);
            if (c == 0) {
                if (text.isEmpty())
                    continue;
                if (isTypedPunctuation(e, text, counting)) {
                    p += e.count;
                    continue;
                }
                a += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            } else if (isTypedPunctuation(e, text, counting)) {
                p += e.count * int(coding::utf16::characterCount(text));
            } else {
                w += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            }
        }
    }
    out[WordStdTotal] = w + a + f + p + sym + alpha;
    out[WordStdChars] = a;
    out[WordStdWords] = w;
    out[WordStdPunct] = p + sym;
    out[WordStdFunc] = f;
    out[WordStdAlpha] = alpha;
}

void wordsShort(const WordTable &words, int sym, int alpha, Counting counting, KeyCounts &out) {
    int t = 0, s1 = 0, s2 = 0, p = 0, f = 0;
    for (size_t c = 0; c < words.size(); ++c) {
        for (const CodeRecord &e : words[c]) {
            const QString text = countedText(e, counting);
            if (!e.shortCode.isEmpty()) {
                (c == 0 ? s1 : s2) += e.count * codeLength(e.shortCode);
                f += 2 * e.count;
            } else if (isTypedPunctuation(e, text, counting)) {
                p += e.count * (c == 0 ? 1 : int(coding::utf16::characterCount(text)));
            } else {
                t += e.count * codeLength(e.stdCode);
                f += 2 * e.count;
            }
        }
    }
    out[WordShortTotal] = t + s1 + s2 + f + p + sym + alpha;
    out[WordShortStd] = t;
    out[WordShortCharShort] = s1;
    out[WordShortWordShort] = s2;
    out[WordShortPunct] = p + sym;
    out[WordShortFunc] = f;
    out[WordShortAlpha] = alpha;
}

KeyCounts countKeys(const coding::TextTables &tables, int alpha, int sym, Counting counting) {
    KeyCounts out{};
    charsStandard(tables.CharTable, alpha, counting, out);
    charsShort(tables.CharTable, alpha, counting, out);
    wordsStandard(tables.WordTable, sym, alpha, counting, out);
    wordsShort(tables.WordTable, sym, alpha, counting, out);
    return out;
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

KeyCounts countTextKeys(const coding::TextTables &tables, int alphaCount, int symCount) {
    return countKeys(tables, alphaCount, symCount, Counting::Text);
}

KeyCounts countTextKeys(const coding::AppState &state) {
    return countTextKeys(state.derived.textTables.value_or(coding::TextTables{}),
                         state.text.AlphaCount, state.text.SymCount);
}

KeyCounts countUserKeys(const coding::TextTables &tables) {
    return countKeys(tables, tables.AlphaCount, 0, Counting::Typed);
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
