#pragma once

#include <marvik/textencoding.h>

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

namespace prepare {

// The encodings of the program's text files (Utf8, Gb18030, Utf16Le, Utf16Be, Big5).
// Files are written in GB18030 (which is byte-identical to GBK for every GBK character);
// reading a text judges its encoding as marvik::detectTextEncoding describes: UTF-16 by
// its byte-order mark or its NUL bytes, UTF-8 (with or without a byte-order mark) when
// the bytes are valid UTF-8, Big5 on clear evidence, GB18030 otherwise. The judgement is
// shared with the tool trevix-seg.
using TextEncoding = marvik::TextEncoding;

// True when bytes are valid UTF-8 (a leading byte-order mark is allowed).
bool isValidUtf8(const QByteArray &bytes);

// The encoding in which bytes, the whole of a text, are read.
TextEncoding detectEncoding(const QByteArray &bytes);

// A decoder for the encoding. A byte-order mark of the encoding at the start is dropped.
QStringDecoder makeDecoder(TextEncoding encoding);

// Decodes bytes in the given encoding (a byte-order mark of the encoding is dropped).
QString decodeText(const QByteArray &bytes, TextEncoding encoding);

// Decodes bytes in the encoding detectEncoding gives.
QString decodeText(const QByteArray &bytes);

QByteArray encodeText(const QString &text, TextEncoding encoding);

} // namespace prepare
