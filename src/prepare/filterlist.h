#pragma once

#include "textcodec.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>
#include <QStringList>

namespace prepare {

// One filter entry: the symbol, six blanks, the description ("，      逗号").
QString makeFilterEntry(const QString &symbol, const QString &description);

// The symbol of an entry: the text before its first blank (the whole entry when it
// has none).
QString filterSymbolOf(const QString &entry);

// A symbol may hold no blank (the blank separates it from its description) and
// neither part may hold a line break (an entry is one line).
bool isValidFilterSymbol(const QString &symbol);
bool isValidFilterDescription(const QString &description);

// The contents of a filter list file ("filter.dat"): one entry per line, ended by
// CR LF; empty lines are no entries. The list keeps the file's bytes, so that a
// change rewrites only the line it concerns and leaves every other line, empty lines
// included, byte for byte as it was. The file's encoding is judged once, when it is
// read: UTF-8 when its bytes are valid UTF-8 and it shows so (a byte-order mark, or a
// character from U+0800 up, as every Chinese character is), GB18030 otherwise (a new or
// ASCII-only file too). Every line is read and every new line written in that encoding,
// so that an edit never changes how another line reads. A UTF-8 byte-order mark belongs
// to no line (nor does one before GB18030 text, which it does not make UTF-8).
class FilterList {
public:
    // A filter list larger than this is no filter list: reading it fails.
    static constexpr qint64 MaxFileSize = 1024 * 1024;

    FilterList() = default;
    static FilterList fromBytes(const QByteArray &bytes);

    // Reads the rest of device. On failure returns false, sets error to the
    // device's reason and leaves the list unchanged.
    bool read(QIODevice &device, QString *error = nullptr);
    // Writes the list's bytes to device.
    bool write(QIODevice &device, QString *error = nullptr) const;
    QByteArray bytes() const { return m_bytes; }

    // The non-empty lines, in file order.
    QStringList entries() const;
    // The symbol of each entry, in file order.
    QStringList symbols() const;
    // True when the symbol of an entry equals symbol, ignoring letter case.
    bool hasSymbol(const QString &symbol) const;

    // Appends entry as a line of its own. False (and nothing changes) when entry
    // is empty or holds a line break.
    bool append(const QString &entry);
    // Removes exactly one line: that of entry number index (counted over
    // entries()) when it reads entry, else the first line that reads entry. False
    // when no line reads entry.
    bool remove(int index, const QString &entry);

private:
    struct Line {
        qsizetype start = 0;  // first byte
        qsizetype length = 0; // bytes, with the line break
        QString text;         // without the line break
    };
    void parse();

    QByteArray m_bytes;
    TextEncoding m_encoding = TextEncoding::Gb18030; // judged when read, kept
    // The byte-order mark's bytes at the start when read (0 or 3), kept too: bytes
    // that come to the start when the first line is removed are no mark.
    qsizetype m_bom = 0;
    QList<Line> m_lines; // every line, empty ones too
};

} // namespace prepare
