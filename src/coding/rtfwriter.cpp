// The RTF writer, and the bridge between an RtfText and a QTextDocument.

#include "rtf.h"

#include "textcolouring.h"

#include <QIODevice>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace coding {

namespace {

void appendNumber(QByteArray &out, const char *word, qint64 n) {
    out += word;
    out += QByteArray::number(n);
}

// One UTF-16 unit as \uN? (N signed, as RTF's 16-bit numbers are).
void appendUnicode(QByteArray &out, char16_t unit) {
    const int n = unit > 0x7fff ? int(unit) - 0x10000 : int(unit);
    appendNumber(out, "\\u", n);
    out += '?';
}

// Text of the body or of a font name: ASCII as it is, the three special characters
// escaped, the tab as \tab, everything else as \uN?.
void appendText(QByteArray &out, QStringView text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u >= 0x20 && u < 0x7f) {
            out += char(u);
        } else {
            appendUnicode(out, u);
        }
    }
}

// A font name as the Windows rich-text control writes it: the characters of code
// page 936 as their \'hh bytes, ASCII as it is, anything else as \uN?.
void appendFontName(QByteArray &out, const QString &name) {
    QStringEncoder gb("GB18030", QStringConverter::Flag::Stateless);
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != u';' && u != u'\\' && u != u'{' && u != u'}') {
            out += char(u);
            continue;
        }
        // Each character on its own: a surrogate is no character of code page 936.
        const QByteArray bytes =
            c.isSurrogate() ? QByteArray() : QByteArray(gb.encode(QStringView(&c, 1)));
        if (bytes.size() == 2) {
            for (const char b : bytes) {
                out += "\\'";
                out += QByteArray::number(uchar(b), 16).rightJustified(2, '0');
            }
        } else {
            appendUnicode(out, u);
        }
    }
}

bool isDefault(const RtfFormat &f) {
    return f == RtfFormat{};
}

// The runs of text as pieces that cover it in order: text that no run covers (or a
// run that overlaps the one before it) is taken in the default format.
template <typename Piece> void forEachPiece(const RtfText &text, Piece piece) {
    const qsizetype size = text.text.size();
    qsizetype pos = 0;
    for (const RtfRun &run : text.runs) {
        const qsizetype start = std::clamp<qsizetype>(run.start, pos, size);
        const qsizetype end = std::clamp<qsizetype>(run.start + run.length, start, size);
        if (start > pos)
            piece(QStringView(text.text).mid(pos, start - pos), RtfFormat{});
        if (end > start)
            piece(QStringView(text.text).mid(start, end - start), run.format);
        pos = std::max(pos, end);
    }
    if (pos < size)
        piece(QStringView(text.text).mid(pos), RtfFormat{});
}

} // namespace

QByteArray writeRtf(const RtfText &text) {
    // The tables: the default font (the Kai font) is \f0; every family a run names
    // has its own entry from \f1 on, so that a run's explicit family stays explicit.
    QStringList fonts;
    QList<QColor> colors;
    for (const RtfRun &run : text.runs) {
        const RtfFormat &f = run.format;
        if (!f.fontFamily.isEmpty() && !fonts.contains(f.fontFamily))
            fonts.append(f.fontFamily);
        if (f.color.isValid()) {
            const QColor rgb = f.color.toRgb();
            const QColor opaque(rgb.red(), rgb.green(), rgb.blue());
            if (!colors.contains(opaque))
                colors.append(opaque);
        }
    }

    QByteArray out;
    out.reserve(64 + text.text.size() * 8 + text.runs.size() * 16);
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang1033\\deflangfe2052\\uc1\r\n";
    out += "{\\fonttbl{\\f0\\fnil\\fcharset134 ";
    appendFontName(out, QString::fromUtf16(kKaiFontName));
    out += ";}";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        appendNumber(out, "{\\f", i + 1);
        out += "\\fnil\\fcharset134 ";
        appendFontName(out, fonts[i]);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const QColor &c : colors) {
        appendNumber(out, "\\red", c.red());
        appendNumber(out, "\\green", c.green());
        appendNumber(out, "\\blue", c.blue());
        out += ';';
    }
    out += "}\r\n\\pard\\plain\\f0 ";

    qsizetype lineStart = out.size();
    forEachPiece(text, [&](QStringView piece, const RtfFormat &f) {
        const bool grouped = !isDefault(f);
        if (grouped) {
            out += '{';
            if (f.color.isValid()) {
                const QColor rgb = f.color.toRgb();
                appendNumber(out, "\\cf",
                             colors.indexOf(QColor(rgb.red(), rgb.green(), rgb.blue())) + 1);
            }
            if (f.bold)
                out += "\\b";
            if (f.italic)
                out += "\\i";
            if (f.underline)
                out += "\\ul";
            if (!f.fontFamily.isEmpty())
                appendNumber(out, "\\f", fonts.indexOf(f.fontFamily) + 1);
            if (f.halfPoints > 0)
                appendNumber(out, "\\fs", f.halfPoints);
            out += ' ';
        }
        appendText(out, piece);
        if (grouped)
            out += '}';
        // Raw line ends are not text in RTF; they keep the lines short for a reader
        // of the file.
        if (out.size() - lineStart > 200) {
            out += "\r\n";
            lineStart = out.size();
        }
    });
    out += "\\par\r\n}\r\n";
    return out;
}

bool writeRtf(const QTextDocument &doc, QIODevice &device) {
    const QByteArray bytes = writeRtf(rtfTextFromDocument(doc));
    return device.write(bytes) == bytes.size();
}

RtfText rtfTextFromDocument(const QTextDocument &doc) {
    RtfText result;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat cf = fragment.charFormat();
            RtfFormat f;
            if (cf.hasProperty(QTextFormat::ForegroundBrush) &&
                cf.foreground().style() != Qt::NoBrush)
                f.color = cf.foreground().color();
            f.bold = cf.fontWeight() >= QFont::Bold;
            f.italic = cf.fontItalic();
            f.underline = cf.fontUnderline();
            const QStringList families = cf.fontFamilies().toStringList();
            if (!families.isEmpty())
                f.fontFamily = families.first();
            if (cf.hasProperty(QTextFormat::FontPointSize))
                f.halfPoints = int(std::lround(cf.fontPointSize() * 2));

            const QString piece = fragment.text();
            if (piece.isEmpty())
                continue;
            if (!result.runs.isEmpty() && result.runs.last().format == f)
                result.runs.last().length += piece.size();
            else
                result.runs.append(RtfRun{result.text.size(), piece.size(), f});
            result.text += piece;
        }
    }
    return result;
}

void applyRtfText(const RtfText &text, QTextDocument &doc) {
    doc.clear();
    QTextCursor cursor(&doc);
    cursor.beginEditBlock();
    forEachPiece(text, [&](QStringView piece, const RtfFormat &f) {
        QTextCharFormat cf;
        if (f.color.isValid())
            cf.setForeground(f.color);
        if (f.bold)
            cf.setFontWeight(QFont::Bold);
        if (f.italic)
            cf.setFontItalic(true);
        if (f.underline)
            cf.setFontUnderline(true);
        if (!f.fontFamily.isEmpty())
            cf.setFontFamilies(QStringList{f.fontFamily});
        if (f.halfPoints > 0)
            cf.setFontPointSize(f.halfPoints / 2.0);
        cursor.insertText(piece.toString(), cf);
    });
    cursor.endEditBlock();
}

} // namespace coding
