#pragma once

// Rich Text Format, as the example files (*.sav) and the test text's copy (temp.zh)
// hold it: our own writer and reader, no widgets.
//
// The writer emits \ansi\ansicpg936, a font table (the fonts the text uses, the
// Kai font among them), a colour table, and for each run of equal formatting \cfN,
// \b, \i, \ul, \fN and \fsN; ASCII text as it is (with \\, \{, \} escaped), other
// characters as \uN? under \uc1 (a surrogate pair as two \u).
//
// The reader takes what common writers produce: the Windows rich-text control
// (\ansicpg936, \'hh bytes in code page 936, \fcharset134 fonts, \deflangfe,
// \*\generator), LibreOffice Writer and pandoc. \uN with its \ucN fallback skipped;
// \'hh bytes decoded in the code page of the current font's \fcharset, else of
// \ansicpg; unknown destinations and \* groups ignored; colours, bold, italic,
// underline, font and size kept. Paragraph and line ends are not text of an example
// (\par, \line, \sect, \page and a word processor's final paragraph give nothing).
// It never trusts the input: size, nesting depth, group count and control-word
// numbers are bounded, and every damaged input gives an error, never a half text.

#include <QColor>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;
class QTextDocument;

namespace coding {

// The formatting of a run of characters. An invalid colour is the automatic one
// (black); an empty font family and a size of 0 are the document's defaults.
struct RtfFormat {
    QColor color;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QString fontFamily;
    int halfPoints = 0; // font size in half points (\fsN)

    friend bool operator==(const RtfFormat &, const RtfFormat &) = default;
};

// A run of characters [start, start + length) of one format.
struct RtfRun {
    qsizetype start = 0;
    qsizetype length = 0;
    RtfFormat format;

    friend bool operator==(const RtfRun &, const RtfRun &) = default;
};

// A text and its formatting: the runs cover the text in order, without gaps;
// neighbouring runs differ in format.
struct RtfText {
    QString text;
    QList<RtfRun> runs;

    friend bool operator==(const RtfText &, const RtfText &) = default;
};

struct RtfError {
    enum class Kind {
        Empty,          // no bytes at all
        TooLarge,       // more bytes than kRtfMaxBytes
        NotRtf,         // does not begin with {\rtf
        Truncated,      // ends inside a group, a control word or a \bin
        Unbalanced,     // a } without its {, or text after the document's last }
        TooDeep,        // groups nested deeper than kRtfMaxDepth
        TooManyGroups,  // more than kRtfMaxGroups groups
        NumberTooLarge, // a control word's number beyond ±kRtfMaxNumber
        BadControlWord, // a control word longer than 32 letters
        TooMuchText,    // more characters than kRtfMaxCharacters
        Unreadable,     // the device could not be read
    };
    Kind kind = Kind::Empty;
    qint64 offset = 0; // the byte at which the reader stopped

    friend bool operator==(const RtfError &, const RtfError &) = default;
};

inline constexpr qint64 kRtfMaxBytes = 32 * 1024 * 1024;
inline constexpr int kRtfMaxDepth = 200;
inline constexpr int kRtfMaxGroups = 1'000'000;
inline constexpr qint64 kRtfMaxNumber = 0x7fffffff; // what Word takes, a 32-bit int
inline constexpr qsizetype kRtfMaxCharacters = 4 * 1024 * 1024;

// A short description of the error, in Chinese, for a message or standard error
// ("RTF文件不完整（第123字节）").
QString describeRtfError(const RtfError &error);

// The text and formatting of doc, without its block separators (the program's
// texts are one paragraph).
RtfText rtfTextFromDocument(const QTextDocument &doc);

// Replaces doc's content with text, each run with its format (the colour, bold,
// italic, underline, and the font family and size where the run gives them).
void applyRtfText(const RtfText &text, QTextDocument &doc);

// The RTF document of text.
QByteArray writeRtf(const RtfText &text);
// Writes doc to device; false when the device fails.
bool writeRtf(const QTextDocument &doc, QIODevice &device);

// Reads an RTF document. On an error returns nothing and sets error.
std::optional<RtfText> readRtf(const QByteArray &bytes, RtfError *error);
// Reads at most kRtfMaxBytes + 1 bytes of device; on success replaces doc's
// content, on an error leaves doc as it was.
std::optional<RtfError> readRtf(QIODevice &device, QTextDocument &doc);

} // namespace coding
