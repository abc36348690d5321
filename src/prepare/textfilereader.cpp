#include "textfilereader.h"

#include <QFile>
#include <QStringDecoder>

#include <optional>
#include <string_view>
#include <vector>

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

std::string_view view(QByteArrayView bytes) {
    return {bytes.data(), static_cast<std::size_t>(bytes.size())};
}

// The bytes read so far, decoded in one encoding and cleaned.
class Reading {
public:
    explicit Reading(TextEncoding encoding)
        : m_utf16(encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be),
          m_decoder(makeDecoder(encoding)) {
        m_cleaned.reserve(MaxTextLength);
    }

    void feed(QByteArrayView bytes) {
        m_bytes += bytes.size();
        const QString part = m_decoder(bytes);
        for (const QChar ch : part)
            take(ch.unicode());
    }
    // The file ended: a character cut off at its end does not decode.
    void finish() {
        if (!m_utf16)
            feed("\n"); // completes the decoding (and is cleaned away itself)
        else if (m_bytes % 2 != 0)
            take(0xFFFD); // half a UTF-16 unit
        if (m_highSurrogate) {
            m_highSurrogate = 0;
            add(0xFFFD);
        }
    }
    bool full() const { return m_cleaned.size() >= MaxTextLength; }
    // More than a tenth of the characters read do not decode or are control
    // characters: no text at all.
    bool looksBinary() const { return m_undecodable * 10 > m_decoded; }
    bool sawNul() const { return m_sawNul; }
    QString cleaned() const { return m_cleaned; }
    // Text came after the cleaned characters were complete.
    bool cut() const { return m_cut; }

private:
    // Keeps surrogate pairs together, across chunks too; a half without its partner
    // (possible in UTF-16) does not decode.
    void take(char16_t c) {
        if (m_highSurrogate) {
            const char16_t high = m_highSurrogate;
            m_highSurrogate = 0;
            if (QChar::isLowSurrogate(c)) {
                add(high);
                add(c);
                return;
            }
            add(0xFFFD);
        }
        if (QChar::isHighSurrogate(c))
            m_highSurrogate = c;
        else
            add(QChar::isLowSurrogate(c) ? char16_t(0xFFFD) : c);
    }
    void add(char16_t c) {
        ++m_decoded;
        if (c == 0)
            m_sawNul = true;
        if (isUndecodable(c))
            ++m_undecodable;
        if (isRemovedOnOpening(QChar(c)))
            return;
        if (full())
            m_cut = true;
        else
            m_cleaned.append(QChar(c));
    }

    bool m_utf16;
    QStringDecoder m_decoder;
    QString m_cleaned;
    char16_t m_highSurrogate = 0;
    qint64 m_bytes = 0;
    qint64 m_decoded = 0;
    qint64 m_undecodable = 0;
    bool m_sawNul = false;
    bool m_cut = false;
};

// The readings of the bytes, side by side, so that the device is read once and no bytes
// are kept: UTF-16 alone when the first chunk says so; else UTF-8 while the bytes are
// valid UTF-8, and GB18030 and Big5 all along, with the guess between them.
class Readings {
public:
    explicit Readings(std::optional<TextEncoding> utf16) : m_utf16(utf16) {
        m_readings.reserve(3);
        if (utf16) {
            m_readings.emplace_back(*utf16);
            return;
        }
        m_readings.emplace_back(TextEncoding::Utf8);
        m_readings.emplace_back(TextEncoding::Gb18030);
        m_readings.emplace_back(TextEncoding::Big5);
    }

    // False when the bytes are no text (NUL bytes, or NUL characters in UTF-16).
    bool feed(QByteArrayView bytes, bool first) {
        if (m_utf16) {
            m_readings[0].feed(bytes);
            return !m_readings[0].sawNul();
        }
        if (bytes.contains('\0'))
            return false;
        m_guess.feed(view(bytes));
        if (m_guess.isUtf8())
            m_readings[0].feed(bytes);
        // A UTF-8 byte-order mark before text that is no UTF-8 is a stray mark, no text.
        const QByteArrayView legacy =
            first && marvik::startsWithUtf8Bom(view(bytes)) ? bytes.sliced(3) : bytes;
        m_readings[1].feed(legacy);
        m_readings[2].feed(legacy);
        return true;
    }
    // One more chunk after the text was complete, which only tells whether text follows:
    // the encoding stays the one the text was read in.
    void lookAhead(QByteArrayView bytes) {
        if (m_utf16 || !bytes.contains('\0'))
            current().feed(bytes);
    }
    void finish() {
        m_guess.finish();
        for (Reading &reading : m_readings)
            reading.finish();
    }
    TextEncoding encoding() const { return m_utf16 ? *m_utf16 : m_guess.encoding(); }
    Reading &current() {
        switch (encoding()) {
        case TextEncoding::Gb18030:
            return m_readings[1];
        case TextEncoding::Big5:
            return m_readings[2];
        case TextEncoding::Utf8:
        case TextEncoding::Utf16Le:
        case TextEncoding::Utf16Be:
            break;
        }
        return m_readings[0];
    }

private:
    std::optional<TextEncoding> m_utf16;
    marvik::ByteEncodingGuess m_guess;
    std::vector<Reading> m_readings;
};

// The device in chunks of ChunkSize bytes, fewer only at its end.
class Chunks {
public:
    explicit Chunks(QIODevice &device) : m_device(device), m_buffer(ChunkSize, Qt::Uninitialized) {}

    // The next chunk (empty at the end); false on a read error.
    bool next(QByteArrayView *chunk) {
        qint64 n = 0;
        while (n < ChunkSize && !m_atEnd) {
            const qint64 got = m_device.read(m_buffer.data() + n, ChunkSize - n);
            if (got < 0)
                return false;
            m_atEnd = got == 0;
            n += got;
        }
        m_total += n;
        *chunk = QByteArrayView(m_buffer.constData(), n);
        return true;
    }
    // A read found the end of the device.
    bool atEnd() const { return m_atEnd; }
    qint64 total() const { return m_total; }
    QString errorString() const { return m_device.errorString(); }

private:
    QIODevice &m_device;
    QByteArray m_buffer;
    qint64 m_total = 0;
    bool m_atEnd = false;
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
    Chunks chunks(device);
    QByteArrayView chunk;
    if (!chunks.next(&chunk))
        return failure(TextFile::Status::Unreadable, chunks.errorString());
    Readings readings(marvik::utf16ByteOrder(view(chunk), chunks.atEnd()));
    bool ended = false;
    for (bool first = true;; first = false) {
        if (!readings.feed(chunk, first))
            return failure(TextFile::Status::Binary);
        if (chunks.atEnd()) {
            ended = true;
            break;
        }
        if (readings.current().full() || chunks.total() >= MaxReadBytes)
            break;
        if (!chunks.next(&chunk))
            return failure(TextFile::Status::Unreadable, chunks.errorString());
    }
    // Full at the end of a chunk: one more chunk tells whether text follows.
    if (!ended && !readings.current().cut() && chunks.total() < MaxReadBytes && chunks.next(&chunk))
        readings.lookAhead(chunk);
    if (ended)
        readings.finish();

    const Reading &chosen = readings.current();
    if (chosen.looksBinary())
        return failure(TextFile::Status::Binary);

    TextFile result;
    result.encoding = readings.encoding();
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
