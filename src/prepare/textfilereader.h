#pragma once

#include "textcodec.h"

#include <QIODevice>
#include <QString>

namespace prepare {

// A text for a test or for segmentation editing keeps at most this many characters
// (UTF-16 units, one per tag) and needs at least MinTextLength of them.
inline constexpr int MaxTextLength = 2000;
inline constexpr int MinTextLength = 20;
// Reading stops after this many bytes even when fewer cleaned characters came out
// of them (a file of blanks): no text needs more to give its 2000 characters.
inline constexpr qint64 MaxReadBytes = qint64(4) << 20;

// True for the characters that opening a text removes: the apostrophe, the double
// quote, tab, blank and every line break (CR LF, LF or a lone CR). The learner
// cannot type a line break into the input box, so the lines of a file are joined.
bool isRemovedOnOpening(QChar ch);

// The cleaned text: every character for which isRemovedOnOpening holds is removed.
QString cleanText(QStringView text);

struct TextFile {
    enum class Status {
        Ok,         // text holds the cleaned text, MinTextLength..MaxTextLength characters
        TooShort,   // text holds the cleaned text, fewer than MinTextLength characters
        Unreadable, // the file cannot be opened or read; error says why
        Binary,     // NUL bytes (NUL characters in UTF-16), or mostly characters that
                    // do not decode
    };
    Status status = Status::Unreadable;
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    QString error;
    // The file holds more text than the first MaxTextLength characters kept.
    bool cut = false;
};

// Reads a text file for opening: decodes it, cleans it and keeps its first MaxTextLength
// characters. The encoding is judged as detectEncoding (textcodec.h) says: UTF-16 from the
// first chunk, else UTF-8 when all bytes read are valid UTF-8, else Big5 or GB18030 from
// all bytes read. The device is read in chunks only until MaxTextLength cleaned
// characters are collected, MaxReadBytes have been read or it ends, so the size of the
// file does not matter.
TextFile readTextFile(QIODevice &device);
TextFile readTextFile(const QString &path);

} // namespace prepare
