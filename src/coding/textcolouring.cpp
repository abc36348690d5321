#include "textcolouring.h"

#include "appstate.h"
#include "codelookup.h"
#include "colorref.h"
#include "tags.h"

#include <QFont>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <vector>

namespace coding {

namespace {

// Merges formats into ranges of a document inside one edit block, joining adjacent
// ranges that get the same format into one merge.
class FormatWriter {
public:
    explicit FormatWriter(QTextDocument &doc)
        : m_cursor(&doc), m_documentLength(doc.characterCount() - 1) {
        m_cursor.beginEditBlock();
    }
    ~FormatWriter() {
        flush();
        m_cursor.endEditBlock();
    }
    FormatWriter(const FormatWriter &) = delete;
    FormatWriter &operator=(const FormatWriter &) = delete;

    void apply(int start, int length, const QTextCharFormat &format) {
        if (m_length > 0 && start == m_start + m_length && format == m_format) {
            m_length += length;
            return;
        }
        flush();
        m_start = start;
        m_length = length;
        m_format = format;
    }

private:
    void flush() {
        // A text shorter than its tags is coloured as far as it goes.
        const int start = std::min(m_start, m_documentLength);
        const int end = std::min(m_start + m_length, m_documentLength);
        m_length = 0;
        if (end <= start)
            return;
        m_cursor.setPosition(start);
        m_cursor.setPosition(end, QTextCursor::KeepAnchor);
        m_cursor.mergeCharFormat(m_format);
    }

    QTextCursor m_cursor;
    int m_documentLength;
    int m_start = 0;
    int m_length = 0;
    QTextCharFormat m_format;
};

// Answers "has this word a short code?" from jmzici, opening the database on the
// first question. After a failure it answers no without asking again.
class ShortCodes {
public:
    explicit ShortCodes(AppState &state) : m_state(state) {}

    bool has(const QString &word) {
        if (m_status == Status::Unopened)
            m_status = openCodeDatabase(m_state) ? Status::Ready : Status::Failed;
        if (m_status != Status::Ready)
            return false;
        QString code;
        const auto r = m_state.codeDatabase.findShortCode(word, code);
        if (r == CodeDatabase::Result::Failed) {
            m_status = Status::Failed;
            return false;
        }
        return r == CodeDatabase::Result::Found && !code.isEmpty();
    }
    bool ok() const { return m_status != Status::Failed; }

private:
    enum class Status { Unopened, Ready, Failed };
    AppState &m_state;
    Status m_status = Status::Unopened;
};

QTextCharFormat colourFormat(qint32 colorRef) {
    QTextCharFormat f;
    f.setForeground(colorFromColorRef(colorRef));
    return f;
}

// Which positions of doc carry the hint mark.
std::vector<bool> hintMarks(const QTextDocument &doc) {
    std::vector<bool> marks(size_t(std::max(doc.characterCount(), 0)), false);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid() || !hasHintMark(fragment.charFormat()))
                continue;
            const int end = std::min(fragment.position() + fragment.length(), int(marks.size()));
            for (int p = fragment.position(); p < end; ++p)
                marks[size_t(p)] = true;
        }
    }
    return marks;
}

enum class View { Test, Editor };

bool prepare(AppState &state, QTextDocument &doc, const TextProgress &progress, View view) {
    const bool editor = view == View::Editor;

    const QString tags = state.text.SegmentTags;
    const int n = int(tags.size());
    if (n == 0)
        return true;
    if (progress.setup)
        progress.setup(1, n);
    const auto step = [&progress](int value) {
        if (progress.step)
            progress.step(value);
    };

    const QTextCharFormat alt1 = colourFormat(state.settings.AltColor1);
    const QTextCharFormat alt2 = colourFormat(state.settings.AltColor2);
    const QTextCharFormat sym = colourFormat(state.settings.SymColor);
    const QTextCharFormat alpha = colourFormat(state.settings.AlphaColor);
    bool ok = true;
    {
        FormatWriter out(doc);
        if (!editor && !state.settings.NeedFc) {
            QTextCharFormat plain = colourFormat(0);
            setHintMark(plain, false);
            out.apply(0, n, plain);
            for (int i = 0; i < n; ++i)
                step(i + 1);
        } else if (state.settings.NeedJmTips) {
            // Whole items.
            const QString text = doc.toPlainText();
            ShortCodes shortCodes(state);
            for (int i = 0; i < n;) {
                step(i + 1);
                const QChar t = tags.at(i);
                int j = i + 1;
                if (!(editor && isTag(t, Tag::Punct))) {
                    while (j < n && tags.at(j) == t)
                        ++j;
                }
                const int len = j - i;
                if (isWordTag(t)) {
                    const QString w = text.mid(i, len);
                    const bool loneQuote =
                        editor && (w == QLatin1String("\"") || w == QLatin1String("'"));
                    QTextCharFormat f = isTag(t, Tag::Word0) ? alt1 : alt2;
                    setHintMark(f, !loneQuote && shortCodes.has(w));
                    out.apply(i, len, f);
                } else if (isTag(t, Tag::Punct)) {
                    out.apply(i, len, sym);
                } else if (isTag(t, Tag::AlphaNum)) {
                    out.apply(i, len, alpha);
                }
                i = j;
            }
            ok = shortCodes.ok();
        } else {
            // Character by character.
            const std::vector<bool> marks = hintMarks(doc);
            for (int i = 0; i < n; ++i) {
                step(i + 1);
                const QChar t = tags.at(i);
                if (isWordTag(t)) {
                    QTextCharFormat f = isTag(t, Tag::Word0) ? alt1 : alt2;
                    if (size_t(i) < marks.size() && marks[size_t(i)]) {
                        setHintMark(f, false);
                        if (!editor)
                            f.setFontFamilies({QString::fromUtf16(kKaiFontName)});
                    }
                    out.apply(i, 1, f);
                } else if (isTag(t, Tag::Punct)) {
                    out.apply(i, 1, sym);
                } else if (isTag(t, Tag::AlphaNum)) {
                    out.apply(i, 1, alpha);
                }
            }
        }
    }
    return ok;
}

} // namespace

void installFontSubstitutes() {
    QFont::insertSubstitution(QString::fromUtf16(kKaiFontName), QStringLiteral("AR PL UKai CN"));
}

bool hasHintMark(const QTextCharFormat &format) {
    return format.fontUnderline();
}

void setHintMark(QTextCharFormat &format, bool on) {
    format.setFontUnderline(on);
}

bool PrepareTestText(AppState &state, QTextDocument &doc, const TextProgress &progress) {
    return prepare(state, doc, progress, View::Test);
}

bool PreparePreSplitText(AppState &state, QTextDocument &doc, const TextProgress &progress) {
    return prepare(state, doc, progress, View::Editor);
}

} // namespace coding
