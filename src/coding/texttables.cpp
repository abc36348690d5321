#include "texttables.h"

#include "appstate.h"
#include "codelookup.h"
#include "tags.h"
#include "utf16.h"

#include <QHash>

#include <utility>

namespace coding {

namespace {

bool isAsciiLetterOrDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
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

// The codes of the entries, looked up once per distinct item, the database opened
// at the first lookup.
class Codes {
public:
    explicit Codes(AppState &state) : m_state(state) {}

    bool find(const QString &item, LookupRule rule, CodePair &codes) {
        if (!m_opened && !openCodeDatabase(m_state))
            return false;
        m_opened = true;
        return findItemCodes(m_state.codeDatabase, m_state.library.get(), item, codes, rule);
    }

private:
    AppState &m_state;
    bool m_opened = false;
};

// Counts item into table, adding it with its codes the first time.
bool count(QList<CodeRecord> &table, QHash<QString, qsizetype> &index, const QString &item,
           Codes &codes, LookupRule rule) {
    if (const auto it = index.constFind(item); it != index.constEnd()) {
        ++table[*it].count;
        return true;
    }
    CodePair found;
    if (!codes.find(item, rule, found))
        return false;
    index.insert(item, table.size());
    table.append({item, 1, found.stdCode, found.shortCode});
    return true;
}

} // namespace

std::optional<TextTables> buildTextTables(AppState &state, const QString &text, const QString &tags,
                                          TableKind kind) {
    TextTables tables;
    Codes codes(state);

    const LookupRule charRule =
        kind == TableKind::TestText ? LookupRule::CharacterRow : LookupRule::TypedCharacter;
    QHash<QString, qsizetype> charIndex;
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = utf16::characterLength(text, i);
        const QString c = text.mid(i, len);
        i += len;
        if (len == 1 && isAsciiLetterOrDigit(c.at(0)))
            continue;
        if (!count(tables.CharTable, charIndex, c, codes, charRule))
            return std::nullopt;
    }

    const LookupRule wordRule =
        kind == TableKind::TestText ? LookupRule::WithLibrary : LookupRule::TypedWord;
    std::array<QHash<QString, qsizetype>, 5> wordIndex;
    for (const TagRun &run : TagRuns(tags, text.size())) {
        const QString item = text.mid(run.start, run.length);
        if (run.is(Tag::AlphaNum)) {
            tables.AlphaCount += int(utf16::characterCount(item));
            continue;
        }
        if (kind == TableKind::TestText && !run.isWord())
            continue;
        const size_t c = size_t(std::min<qsizetype>(utf16::characterCount(item), 5) - 1);
        if (!count(tables.WordTable[c], wordIndex[c], item, codes, wordRule))
            return std::nullopt;
    }
    if (kind == TableKind::TestText) {
        for (auto &entries : tables.WordTable)
            selectionSortByCount(entries);
    }
    return tables;
}

} // namespace coding
