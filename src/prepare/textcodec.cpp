#include "textcodec.h"

#include <QStringEncoder>

#include <optional>
#include <string_view>

namespace prepare {

namespace {

// Debian's Qt is built with ICU, which provides both.
const char *legacyName(TextEncoding encoding) {
    return encoding == TextEncoding::Big5 ? "Big5" : "GB18030";
}

std::optional<QStringConverter::Encoding> unicodeEncoding(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringConverter::Utf8;
    case TextEncoding::Utf16Le:
        return QStringConverter::Utf16LE;
    case TextEncoding::Utf16Be:
        return QStringConverter::Utf16BE;
    case TextEncoding::Gb18030:
    case TextEncoding::Big5:
        break;
    }
    return std::nullopt;
}

} // namespace

bool isValidUtf8(const QByteArray &bytes) {
    // Stateless: a sequence cut off at the end is an error, not a pending state.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder(bytes);
    Q_UNUSED(text);
    return !decoder.hasError();
}

TextEncoding detectEncoding(const QByteArray &bytes) {
    return marvik::detectTextEncoding(std::string_view(bytes.constData(), bytes.size()), true);
}

QStringDecoder makeDecoder(TextEncoding encoding) {
    if (const auto unicode = unicodeEncoding(encoding))
        return QStringDecoder(*unicode);
    return QStringDecoder(legacyName(encoding));
}

QString decodeText(const QByteArray &bytes, TextEncoding encoding) {
    QStringDecoder decoder = makeDecoder(encoding);
    return decoder(bytes);
}

QString decodeText(const QByteArray &bytes) {
    return decodeText(bytes, detectEncoding(bytes));
}

QByteArray encodeText(const QString &text, TextEncoding encoding) {
    if (const auto unicode = unicodeEncoding(encoding)) {
        QStringEncoder encoder(*unicode);
        return encoder(text);
    }
    QStringEncoder encoder(legacyName(encoding));
    return encoder(text);
}

} // namespace prepare
