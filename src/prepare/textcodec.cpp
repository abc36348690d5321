#include "textcodec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace prepare {

namespace {
const char *gb18030Name = "GB18030";
} // namespace

bool isValidUtf8(const QByteArray &bytes) {
    // Stateless: a sequence cut off at the end is an error, not a pending state.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

TextEncoding detectEncoding(const QByteArray &bytes) {
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Gb18030;
}

QString decodeText(const QByteArray &bytes, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        QStringDecoder decoder(QStringConverter::Utf8);
        return decoder(bytes);
    }
    QStringDecoder decoder(gb18030Name);
    return decoder(bytes);
}

QString decodeText(const QByteArray &bytes) {
    return decodeText(bytes, detectEncoding(bytes));
}

QByteArray encodeText(const QString &text, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf8) {
        QStringEncoder encoder(QStringConverter::Utf8);
        return encoder(text);
    }
    QStringEncoder encoder(gb18030Name);
    return encoder(text);
}

} // namespace prepare
