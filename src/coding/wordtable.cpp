#include "wordtable.h"

#include "appstate.h"
#include "codelookup.h"

#include <QHash>

#include <array>
#include <utility>

namespace coding {

namespace {

qsizetype characterCount(const QString &s) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (!(s.at(i).isLowSurrogate() && i > 0 && s.at(i - 1).isHighSurrogate()))
            ++n;
    }
    return n;
}

// Largest count first; among equal counts the later entry wins each pass.
void selectionSortByCount(QList<CodeRecord> &entries) {
    for (qsizetype k = 0; k + 1 < entries.size(); ++k) {
        qsizetype best = k;
        for (qsizetype m = k + 1; m < entries.size(); ++m) {
            if (entries[m].count >= entries[best].count)
                best = m;
        }
        if (best != k)
            std::swap(entries[k], entries[best]);
    }
}

void clearWordTable(AppState &state) {
    for (auto &entries : state.WordTable)
        entries.clear();
    state.WordCount.fill(0);
}

} // namespace

bool BuildWordTable(AppState &state, const QString &text) {
    clearWordTable(state);

    const QString &tags = state.SegmentTags;
    const qsizetype n = std::min(text.size(), tags.size());
    std::array<QList<CodeRecord>, 5> table;
    std::array<QHash<QString, qsizetype>, 5> index;
    bool opened = false;

    for (qsizetype i = 0; i < n;) {
        const QChar t = tags.at(i);
        const qsizetype start = i;
        while (i < n && tags.at(i) == t)
            ++i;
        if (t != QLatin1Char('0') && t != QLatin1Char('1'))
            continue;

        const QString w = text.mid(start, i - start);
        const size_t c = size_t(std::min<qsizetype>(characterCount(w), 5) - 1);
        if (const auto it = index[c].constFind(w); it != index[c].constEnd()) {
            ++table[c][*it].count;
            continue;
        }
        if (!opened && !openCodeDatabase(state))
            return false;
        opened = true;
        CodePair codes;
        if (!lookupCodes(state.codeDatabase, state.library.get(), w, codes))
            return false;
        index[c].insert(w, table[c].size());
        table[c].append({w, 1, codes.stdCode, codes.shortCode});
    }

    for (size_t c = 0; c < table.size(); ++c) {
        selectionSortByCount(table[c]);
        state.WordCount[c] = int(table[c].size());
        state.WordTable[c] = std::move(table[c]);
    }
    return true;
}

} // namespace coding
