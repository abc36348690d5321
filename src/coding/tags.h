#pragma once

// The segmentation tags: one per UTF-16 unit of a text (both units of a surrogate
// pair carry the same tag). A word is a run of equal word tags; the two word tags
// alternate from word to word so that neighbouring words stay apart.

#include <QString>

namespace coding {

enum class Tag : char16_t {
    Word0 = u'0', // a Chinese word
    Word1 = u'1', // the next Chinese word
    Punct = u'2', // punctuation, symbols, blanks: anything neither Chinese nor a letter or digit
    Separator = u'3', // the blank that separates words in the segmentation editor
    AlphaNum = u'4',  // ASCII and full-width letters and digits; a run is one item
};

constexpr QChar tagChar(Tag t) {
    return QChar(char16_t(t));
}

constexpr bool isTag(QChar c, Tag t) {
    return c.unicode() == char16_t(t);
}

constexpr bool isWordTag(QChar c) {
    return isTag(c, Tag::Word0) || isTag(c, Tag::Word1);
}

// Whether c is one of the tags above.
constexpr bool isKnownTag(QChar c) {
    return c.unicode() >= char16_t(Tag::Word0) && c.unicode() <= char16_t(Tag::AlphaNum);
}

// n units of tag t.
inline QString tagString(qsizetype n, Tag t) {
    return QString(n, tagChar(t));
}

// A run of equal tags: the units [start, start + length) under tag.
struct TagRun {
    qsizetype start = 0;
    qsizetype length = 0;
    QChar tag;

    qsizetype end() const { return start + length; }
    bool is(Tag t) const { return isTag(tag, t); }
    bool isWord() const { return isWordTag(tag); }
};

// The runs of equal tags over the first `limit` units of tags, in order:
//     for (const TagRun &run : TagRuns(tags)) ...
class TagRuns {
public:
    explicit TagRuns(const QString &tags, qsizetype limit = -1)
        : m_tags(tags), m_limit(limit < 0 ? tags.size() : std::min(limit, tags.size())) {}

    class iterator {
    public:
        iterator(const TagRuns &runs, qsizetype start) : m_runs(&runs) { load(start); }
        const TagRun &operator*() const { return m_run; }
        const TagRun *operator->() const { return &m_run; }
        iterator &operator++() {
            load(m_run.end());
            return *this;
        }
        bool operator==(const iterator &other) const { return m_run.start == other.m_run.start; }

    private:
        void load(qsizetype start) {
            m_run.start = start;
            qsizetype end = start;
            if (start < m_runs->m_limit) {
                m_run.tag = m_runs->m_tags.at(start);
                while (end < m_runs->m_limit && m_runs->m_tags.at(end) == m_run.tag)
                    ++end;
            }
            m_run.length = end - start;
        }
        const TagRuns *m_runs;
        TagRun m_run;
    };

    iterator begin() const { return iterator(*this, 0); }
    iterator end() const { return iterator(*this, m_limit); }

private:
    const QString &m_tags;
    qsizetype m_limit;
};

// The character classes of a text, from its tags alone (in units, as the tags are):
// punctuation ("2"), letters and digits ("4"), and Chinese characters, all the rest.
struct ClassCounts {
    int HzCount = 0;
    int SymCount = 0;
    int AlphaCount = 0;

    int total() const { return HzCount + SymCount + AlphaCount; }
    friend bool operator==(const ClassCounts &, const ClassCounts &) = default;
};

inline ClassCounts countClasses(const QString &tags) {
    ClassCounts c;
    for (const QChar t : tags) {
        c.SymCount += isTag(t, Tag::Punct);
        c.AlphaCount += isTag(t, Tag::AlphaNum);
    }
    c.HzCount = int(tags.size()) - c.SymCount - c.AlphaCount;
    return c;
}

} // namespace coding
