#include "textfilereader.h"

#include <QFile>
#include <QStringDecoder>

namespace prepare {

namespace {

// 2000 characters of UTF-8 Chinese take about 6 KB.
constexpr qint64 ChunkSize = 8 * 1024;

// Characters that do not belong in a text: what the decoder could not decode and
// control characters other than the usual white space (and the old end-of-file mark).
bool isUndecodable(char16_t c) {
    if (c == 0xFFFD || c == 0x7F)
        return true;
    if (c >= 0x20)
        return false;
    return c != u'\t' && c != u'\n' && c != u'\r' && c != u'\f' && c != u'\v' && c != 0x1A;
}

// The bytes read so far, decoded in one encoding and cleaned.
class Reading {
public:
    explicit Reading(QStringDecoder decoder) : m_decoder(std::move(decoder)) {
        m_cleaned.reserve(MaxTextLength);
    }

    void feed(QByteArrayView bytes) {
        const QString part = m_decoder(bytes);
        m_decoded += part.size();
        for (const QChar ch : part) {
            if (isUndecodable(ch.unicode()))
                ++m_undecodable;
            if (isRemovedOnOpening(ch))
                continue;
            if (full())
                m_cut = true;
            else
                m_cleaned.append(ch);
        }
    }
    bool hasError() const { return m_decoder.hasError(); }
    bool full() const { return m_cleaned.size() >= MaxTextLength; }
    // More than a tenth of the characters read do not decode or are control
    // characters: no text at all.
    bool looksBinary() const { return m_undecodable * 10 > m_decoded; }
    QString cleaned() const { return m_cleaned; }
    // Text came after the cleaned characters were complete.
    bool cut() const { return m_cut; }

private:
    QStringDecoder m_decoder;
    QString m_cleaned;
    qint64 m_decoded = 0;
    qint64 m_undecodable = 0;
    bool m_cut = false;
};

TextFile failure(TextFile::Status status, const QString &error = {}) {
    TextFile result;
    result.status = status;
    result.error = error;
    return result;
}

} // namespace

bool isRemovedOnOpening(QChar ch) {
    switch (ch.unicode()) {
    case u'\'':
    case u'"':
    case u'\t':
    case u' ':
    case u'\r':
    case u'\n':
        return true;
    default:
        return false;
    }
}

QString cleanText(QStringView text) {
    QString cleaned;
    cleaned.reserve(text.size());
    for (const QChar ch : text) {
        if (!isRemovedOnOpening(ch))
            cleaned.append(ch);
    }
    return cleaned;
}

TextFile readTextFile(QIODevice &device) {
    // Both decodings run side by side, so that the device is read once and no
    // bytes are kept: UTF-8 while the bytes are valid UTF-8, GB18030 after that.
    Reading utf8{QStringDecoder(QStringConverter::Utf8)};
    Reading gb18030{QStringDecoder("GB18030")};
    bool utf8Valid = true;
    bool ended = false;

    QByteArray chunk(ChunkSize, Qt::Uninitialized);
    qint64 total = 0;
    while (!(utf8Valid ? utf8.full() : gb18030.full()) && total < MaxReadBytes) {
        const qint64 n = device.read(chunk.data(), ChunkSize);
        if (n < 0)
            return failure(TextFile::Status::Unreadable, device.errorString());
        if (n == 0) {
            ended = true;
            break;
        }
        total += n;
        const QByteArrayView bytes(chunk.constData(), n);
        if (bytes.contains('\0'))
            return failure(TextFile::Status::Binary);
        if (utf8Valid) {
            utf8.feed(bytes);
            utf8Valid = !utf8.hasError();
        }
        gb18030.feed(bytes);
    }
    // Full at the end of a chunk: one more chunk tells whether text follows. It
    // only tells that; the encoding stays the one the text was read in.
    Reading &current = utf8Valid ? utf8 : gb18030;
    if (!ended && !current.cut() && total < MaxReadBytes) {
        const qint64 n = device.read(chunk.data(), ChunkSize);
        if (n > 0 && !QByteArrayView(chunk.constData(), n).contains('\0'))
            current.feed(QByteArrayView(chunk.constData(), n));
    }
    if (ended) {
        // A character cut off at the end of the file is an error too: a line break
        // completes the decoding (and is cleaned away itself).
        const QByteArrayView flush("\n");
        if (utf8Valid) {
            utf8.feed(flush);
            utf8Valid = !utf8.hasError();
        }
        gb18030.feed(flush);
    }

    const Reading &chosen = utf8Valid ? utf8 : gb18030;
    if (chosen.looksBinary())
        return failure(TextFile::Status::Binary);

    TextFile result;
    result.encoding = utf8Valid ? TextEncoding::Utf8 : TextEncoding::Gb18030;
    result.text = chosen.cleaned();
    result.cut = chosen.cut();
    // Never keep half of a character outside the Basic Multilingual Plane.
    if (result.text.size() == MaxTextLength && result.text.back().isHighSurrogate()) {
        result.text.chop(1);
        result.cut = true;
    }
    result.status =
        result.text.size() < MinTextLength ? TextFile::Status::TooShort : TextFile::Status::Ok;
    return result;
}

TextFile readTextFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(TextFile::Status::Unreadable, file.errorString());
    return readTextFile(file);
}

} // namespace prepare
