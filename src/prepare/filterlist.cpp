#include "filterlist.h"

namespace prepare {

namespace {
const QString EntrySeparator = QStringLiteral("      "); // six blanks
const QByteArray Utf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

bool hasLineBreak(const QString &text) {
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// UTF-8 only where the file shows that it is UTF-8: valid UTF-8 with a byte-order mark
// or with a character from U+0800 up (every Chinese character and full-width sign). A
// valid UTF-8 file without one is ASCII, or GB18030 whose few Chinese characters happen
// to form two-byte UTF-8 sequences ("学习" is D1 A7 CF B0, "ѧϰ" in UTF-8), not Chinese
// in UTF-8; it is GB18030.
TextEncoding fileEncoding(const QByteArray &bytes) {
    if (!isValidUtf8(bytes))
        return TextEncoding::Gb18030;
    if (bytes.startsWith(Utf8Bom))
        return TextEncoding::Utf8;
    const QString text = QString::fromUtf8(bytes);
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x800)
            return TextEncoding::Utf8;
    }
    return TextEncoding::Gb18030;
}
} // namespace

QString makeFilterEntry(const QString &symbol, const QString &description) {
    return symbol + EntrySeparator + description;
}

QString filterSymbolOf(const QString &entry) {
    const qsizetype blank = entry.indexOf(QLatin1Char(' '));
    return blank < 0 ? entry : entry.left(blank);
}

bool isValidFilterSymbol(const QString &symbol) {
    for (const QChar ch : symbol) {
        if (ch.isSpace())
            return false;
    }
    return !symbol.isEmpty();
}

bool isValidFilterDescription(const QString &description) {
    return !description.isEmpty() && !hasLineBreak(description);
}

FilterList FilterList::fromBytes(const QByteArray &bytes) {
    FilterList list;
    list.m_bytes = bytes;
    list.m_encoding = fileEncoding(bytes);
    list.m_bom = bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    list.parse();
    return list;
}

bool FilterList::read(QIODevice &device, QString *error) {
    QByteArray bytes;
    char chunk[16 * 1024];
    while (bytes.size() <= MaxFileSize) {
        const qint64 n = device.read(chunk, sizeof chunk);
        if (n < 0) {
            if (error)
                *error = device.errorString();
            return false;
        }
        if (n == 0)
            break;
        bytes.append(chunk, n);
    }
    if (bytes.size() > MaxFileSize) {
        if (error)
            *error = QStringLiteral("文件太大，不是过滤符号文件");
        return false;
    }
    m_bytes = bytes;
    m_encoding = fileEncoding(bytes);
    m_bom = bytes.startsWith(Utf8Bom) ? Utf8Bom.size() : 0;
    parse();
    return true;
}

bool FilterList::write(QIODevice &device, QString *error) const {
    if (device.write(m_bytes) != m_bytes.size()) {
        if (error)
            *error = device.errorString();
        return false;
    }
    return true;
}

QStringList FilterList::entries() const {
    QStringList result;
    for (const Line &line : m_lines) {
        if (!line.text.isEmpty())
            result << line.text;
    }
    return result;
}

QStringList FilterList::symbols() const {
    QStringList result;
    for (const QString &entry : entries())
        result << filterSymbolOf(entry);
    return result;
}

bool FilterList::hasSymbol(const QString &symbol) const {
    for (const QString &entry : entries()) {
        if (filterSymbolOf(entry).compare(symbol, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool FilterList::append(const QString &entry) {
    if (entry.isEmpty() || hasLineBreak(entry))
        return false;
    // A last line without its line break (a hand-edited file) keeps its own line.
    if (!m_bytes.isEmpty() && m_bytes != Utf8Bom && !m_bytes.endsWith('\n') &&
        !m_bytes.endsWith('\r'))
        m_bytes += "\r\n";
    m_bytes += encodeText(entry, m_encoding);
    m_bytes += "\r\n";
    parse();
    return true;
}

bool FilterList::remove(int index, const QString &entry) {
    const Line *target = nullptr;
    int entryNumber = 0;
    for (const Line &line : m_lines) {
        if (line.text.isEmpty())
            continue;
        if (entryNumber++ == index && line.text == entry) {
            target = &line;
            break;
        }
    }
    if (!target) {
        for (const Line &line : m_lines) {
            if (line.text == entry) {
                target = &line;
                break;
            }
        }
    }
    if (!target || entry.isEmpty())
        return false;
    m_bytes.remove(target->start, target->length);
    parse();
    return true;
}

void FilterList::parse() {
    m_lines.clear();
    const qsizetype size = m_bytes.size();
    qsizetype start = m_bom;
    while (start < size) {
        qsizetype end = start;
        while (end < size && m_bytes.at(end) != '\n' && m_bytes.at(end) != '\r')
            ++end;
        qsizetype next = end;
        if (next < size && m_bytes.at(next) == '\r')
            ++next;
        if (next < size && m_bytes.at(next) == '\n')
            ++next;
        Line line;
        line.start = start;
        line.length = next - start;
        line.text = decodeText(m_bytes.mid(start, end - start), m_encoding);
        m_lines.append(line);
        start = next;
    }
}

} // namespace prepare
