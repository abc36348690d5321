#pragma once

#include <QByteArray>
#include <QString>

namespace prepare {

// The encodings of the program's text files. Files are written in GB18030 (which
// is byte-identical to GBK for every GBK character); reading accepts UTF-8, with or
// without a byte-order mark, when the bytes are valid UTF-8, and GB18030 otherwise.
enum class TextEncoding { Utf8, Gb18030 };

// True when bytes are valid UTF-8 (a leading byte-order mark is allowed).
bool isValidUtf8(const QByteArray &bytes);

// The encoding in which bytes are read.
TextEncoding detectEncoding(const QByteArray &bytes);

// Decodes bytes in the given encoding (a UTF-8 byte-order mark is dropped).
QString decodeText(const QByteArray &bytes, TextEncoding encoding);

// Decodes bytes as UTF-8 when they are valid UTF-8, else as GB18030.
QString decodeText(const QByteArray &bytes);

QByteArray encodeText(const QString &text, TextEncoding encoding);

} // namespace prepare
