#include "textpreparation.h"

#include "coding/tags.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace prepare {

using coding::isTag;
using coding::Tag;

namespace {

constexpr char16_t Removed = u' '; // placeholder of a character being filtered out

char16_t fullWidth(char16_t c) {
    if (c == u' ')
        return 0x3000;
    if (c >= 0x21 && c <= 0x7E)
        return char16_t(c + 0xFEE0);
    return c;
}

} // namespace

QString toFullWidth(QString text) {
    for (QChar &ch : text)
        ch = QChar(fullWidth(ch.unicode()));
    return text;
}

PreparedText prepareText(const QString &text, const QString &tags, const PrepareOptions &options) {
    Q_ASSERT(text.size() == tags.size());
    PreparedText out{text, tags};
    QString &t = out.text;
    QString &g = out.tags;
    const qsizetype length = t.size();
    g.resize(length, coding::tagChar(Tag::Punct)); // never read past the tags

    // 1. Widening: a character under "2" is widened everywhere in the text. Only
    //    the blank and ASCII have a wide form.
    bool widen[0x80] = {};
    bool anyWidened = false;
    for (qsizetype i = 0; i < length; ++i) {
        const char16_t c = t.at(i).unicode();
        if (isTag(g.at(i), Tag::Punct) && c < 0x80 && fullWidth(c) != c)
            widen[c] = anyWidened = true;
    }
    if (anyWidened) {
        for (QChar &ch : t) {
            const char16_t c = ch.unicode();
            if (c < 0x80 && widen[c])
                ch = QChar(fullWidth(c));
        }
    }

    // 2. The middle dot becomes a full stop.
    t.replace(QChar(0x00B7), QLatin1Char('.'));

    // 3. Filters.
    if (!options.filterSymbols && !options.filterAlphaNum)
        return out;
    // The symbols, widened, each once, looked up by their first character; within
    // one first character they keep the list's order (the first that matches wins).
    QHash<QChar, QStringList> symbolsByFirst;
    if (options.filterSymbols) {
        QSet<QString> seen;
        for (const QString &symbol : options.symbols) {
            if (symbol.isEmpty())
                continue;
            QString wide = toFullWidth(symbol);
            if (seen.contains(wide))
                continue;
            seen.insert(wide);
            symbolsByFirst[wide.at(0)].append(std::move(wide));
        }
    }
    auto isSymbolRun = [&](qsizetype from, qsizetype n) {
        for (qsizetype k = from; k < from + n; ++k) {
            if (!isTag(g.at(k), Tag::Punct))
                return false;
        }
        return true;
    };
    for (qsizetype i = 0; i < length; ++i) {
        const QChar tag = g.at(i);
        if (isTag(tag, Tag::Punct) && options.filterSymbols) {
            const auto candidates = symbolsByFirst.constFind(t.at(i));
            if (candidates == symbolsByFirst.constEnd())
                continue;
            for (const QString &symbol : *candidates) {
                const qsizetype n = symbol.size();
                if (i + n <= length && QStringView(t).sliced(i, n) == symbol && isSymbolRun(i, n)) {
                    for (qsizetype k = i; k < i + n; ++k) {
                        t[k] = Removed;
                        g[k] = Removed;
                    }
                }
            }
        } else if (isTag(tag, Tag::AlphaNum) && options.filterAlphaNum) {
            t[i] = Removed;
            g[i] = Removed;
        }
    }
    t.replace(QLatin1Char('['), QChar(0xFF3B));

    // Remove the filtered positions from both strings so that they stay aligned.
    qsizetype kept = 0;
    for (qsizetype i = 0; i < length; ++i) {
        if (t.at(i) == Removed || g.at(i) == Removed)
            continue;
        t[kept] = t.at(i);
        g[kept] = g.at(i);
        ++kept;
    }
    t.truncate(kept);
    g.truncate(kept);
    return out;
}

std::optional<PreparedText> segmentAndPrepare(coding::SegmentationLibrary &library,
                                              const QString &text, const PrepareOptions &options,
                                              coding::LibraryError *error) {
    const QString tags = library.divideSentence(text, error);
    if (tags.isNull())
        return std::nullopt;
    if (tags.size() != text.size()) {
        if (error)
            *error = {coding::LibraryError::Kind::Mismatch, {}, {}, 0};
        return std::nullopt;
    }
    return prepareText(text, tags, options);
}

bool holdsChineseCharacter(const PreparedText &prepared) {
    return std::any_of(prepared.tags.cbegin(), prepared.tags.cend(), coding::isWordTag);
}

PreparedText insertSeparators(const PreparedText &prepared) {
    PreparedText out;
    const qsizetype length = prepared.text.size();
    out.text.reserve(2 * length);
    out.tags.reserve(2 * length);
    for (qsizetype i = 0; i < length; ++i) {
        out.text.append(prepared.text.at(i));
        out.tags.append(prepared.tags.at(i));
        if (i + 1 < length && prepared.tags.at(i) != prepared.tags.at(i + 1)) {
            out.text.append(QLatin1Char(' '));
            out.tags.append(coding::tagChar(Tag::Separator));
        }
    }
    return out;
}

} // namespace prepare
