#include "settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace coding {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && isBlank(v.front()))
        v = v.sliced(1);
    while (!v.isEmpty() && (isBlank(v.back()) || v.back() == '\r'))
        v.chop(1);
    return v;
}

// c in UTF-8 (U+FEFF too, which Qt's decoders would take for a byte-order mark).
void appendUnicode(QByteArray &out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

QString SettingsFile::defaultPath() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(config).filePath(QStringLiteral("Trevix2006/Trevix2006.conf"));
}

SettingsFile::SettingsFile(QString path) : m_path(std::move(path)) {}

bool SettingsFile::load(QString *error) {
    m_lines.clear();
    m_bom = false;
    m_changed = false;
    m_readable = true;
    QFile file(m_path);
    if (!file.exists())
        return true;
    QString why;
    if (QFileInfo(m_path).isDir())
        why = QStringLiteral("这是一个文件夹");
    else if (!file.open(QIODevice::ReadOnly))
        why = file.errorString();
    else if (file.size() > MaxFileSize)
        why = QStringLiteral("文件太大（%1 字节）").arg(file.size());
    QByteArray bytes;
    if (why.isEmpty()) {
        bytes = file.read(MaxFileSize + 1);
        if (file.error() != QFileDevice::NoError)
            why = file.errorString();
        else if (bytes.size() > MaxFileSize)
            why = QStringLiteral("文件太大");
    }
    if (!why.isEmpty()) {
        m_readable = false;
        if (error)
            *error = why;
        return false;
    }
    parse(bytes);
    return true;
}

SettingsFile::Line SettingsFile::makeLine(QByteArray bytes, const QString &group) const {
    Line line;
    line.group = group;
    const QByteArrayView text = trimmed(bytes);
    if (!text.isEmpty() && text.front() != ';' && text.front() != '#' && text.front() != '[') {
        const qsizetype eq = bytes.indexOf('=');
        if (eq > 0) {
            const QString key = unescapedKey(trimmed(QByteArrayView(bytes).first(eq)));
            if (!key.isEmpty()) {
                line.key = key;
                line.eq = eq + 1;
            }
        }
    }
    line.bytes = std::move(bytes);
    return line;
}

void SettingsFile::parse(const QByteArray &bytes) {
    m_lines.clear();
    m_changed = false;
    QByteArrayView rest(bytes);
    m_bom = rest.startsWith("\xEF\xBB\xBF");
    if (m_bom)
        rest = rest.sliced(3);
    QString group;
    while (!rest.isEmpty()) {
        const qsizetype nl = rest.indexOf('\n');
        QByteArray text = (nl < 0 ? rest : rest.first(nl)).toByteArray();
        rest = nl < 0 ? QByteArrayView() : rest.sliced(nl + 1);
        while (text.endsWith('\r')) // CR LF line ends are written as LF
            text.chop(1);
        const QByteArrayView t = trimmed(text);
        if (t.startsWith('[')) {
            const qsizetype close = t.indexOf(']');
            const QString name = unescapedKey(t.sliced(1, (close < 0 ? t.size() : close) - 1));
            group =
                name.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0 ? QString() : name;
        }
        m_lines.append(makeLine(std::move(text), group));
    }
}

const SettingsFile::Line *SettingsFile::lastLineOf(const QString &group, const QString &key) const {
    // The last line of a key counts, as in QSettings.
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        const Line &line = m_lines.at(i);
        if (line.eq > 0 && line.key == key && line.group == group)
            return &line;
    }
    return nullptr;
}

std::optional<QString> SettingsFile::value(const QString &group, const QString &key) const {
    const Line *line = lastLineOf(group, key);
    if (!line)
        return std::nullopt;
    const QByteArrayView raw = QByteArrayView(line->bytes).sliced(line->eq);
    if (raw.size() > MaxValueLength * 4)
        return std::nullopt;
    auto text = unescapedValue(raw);
    if (!text || text->size() > MaxValueLength)
        return std::nullopt;
    return text;
}

bool SettingsFile::holdsValue(const QString &group, const QString &key) const {
    const Line *line = lastLineOf(group, key);
    if (!line)
        return false;
    const auto text = value(group, key);
    return !text || !text->isEmpty();
}

void SettingsFile::setValue(const QString &group, const QString &key, const QString &text) {
    QByteArray bytes = escapedKey(key).toLatin1() + '=' + escapedValue(text);
    qsizetype lastOfGroup = -1;
    for (qsizetype i = m_lines.size() - 1; i >= 0; --i) {
        Line &line = m_lines[i];
        if (line.group != group)
            continue;
        if (line.eq > 0 && line.key == key) {
            if (line.bytes != bytes) {
                line = makeLine(std::move(bytes), group);
                m_changed = true;
            }
            return;
        }
        if (lastOfGroup < 0 && !trimmed(line.bytes).isEmpty())
            lastOfGroup = i;
    }
    if (lastOfGroup < 0) {
        // A new group, after a blank line when the file has lines.
        if (!m_lines.isEmpty() && !trimmed(m_lines.last().bytes).isEmpty())
            m_lines.append(makeLine(QByteArray(), m_lines.last().group));
        if (!group.isEmpty() || !m_lines.isEmpty())
            m_lines.append(makeLine(
                '[' + escapedKey(group.isEmpty() ? QStringLiteral("General") : group).toLatin1() +
                    ']',
                group));
        m_lines.append(makeLine(std::move(bytes), group));
    } else {
        m_lines.insert(lastOfGroup + 1, makeLine(std::move(bytes), group));
    }
    m_changed = true;
}

QByteArray SettingsFile::bytes() const {
    QByteArray out;
    if (m_bom)
        out += "\xEF\xBB\xBF";
    for (const Line &line : m_lines) {
        out += line.bytes;
        out += '\n';
    }
    return out;
}

bool SettingsFile::save(QString *error) {
    if (!m_readable) {
        if (error)
            *error = QStringLiteral("设置文件“%1”无法读取，没有改写它").arg(m_path);
        return false;
    }
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSaveFile file(m_path); // unbuffered: a short write must show (see examplefile.cpp)
    const QByteArray content = bytes();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    m_changed = false;
    return true;
}

QString SettingsFile::escapedKey(const QString &key) {
    QString out;
    for (const QChar c : key) {
        const char16_t u = c.unicode();
        if (u == u'/') {
            out += u'\\';
        } else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') ||
                   (u >= u'0' && u <= u'9') || u == u'_' || u == u'-' || u == u'.') {
            out += c;
        } else if (u <= 0xFF) {
            out += u'%';
            out += QLatin1Char(kHex[u / 16]);
            out += QLatin1Char(kHex[u % 16]);
        } else {
            out += QLatin1String("%U");
            for (int shift = 12; shift >= 0; shift -= 4)
                out += QLatin1Char(kHex[(u >> shift) & 0xF]);
        }
    }
    return out;
}

QString SettingsFile::unescapedKey(QByteArrayView key) {
    QByteArray utf8;
    for (qsizetype i = 0; i < key.size(); ++i) {
        const char c = key.at(i);
        if (c == '\\') {
            utf8 += '/';
        } else if (c == '%' && i + 5 < key.size() && key.at(i + 1) == 'U') {
            char32_t u = 0;
            bool ok = true;
            for (int k = 2; k < 6 && ok; ++k) {
                const int h = hexValue(key.at(i + k));
                ok = h >= 0;
                u = u * 16 + char32_t(std::max(h, 0));
            }
            if (ok) {
                appendUnicode(utf8, u);
                i += 5;
            } else {
                utf8 += c;
            }
        } else if (c == '%' && i + 2 < key.size() && hexValue(key.at(i + 1)) >= 0 &&
                   hexValue(key.at(i + 2)) >= 0) {
            appendUnicode(utf8, char32_t(hexValue(key.at(i + 1)) * 16 + hexValue(key.at(i + 2))));
            i += 2;
        } else {
            utf8 += c;
        }
    }
    return QString::fromUtf8(utf8);
}

QByteArray SettingsFile::escapedValue(const QString &text) {
    // As QSettings writes a string: "@" doubled at the start; control characters,
    // quotes and backslashes escaped; quotes around it when it holds ; , = or begins or
    // ends with a blank.
    const QString s = text.startsWith(u'@') ? u'@' + text : text;
    QByteArray out;
    bool quote = false;
    bool hexBefore = false;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s.at(i);
        const char16_t u = c.unicode();
        if (u == u';' || u == u',' || u == u'=')
            quote = true;
        if (hexBefore && hexValue(char(u < 0x80 ? u : 0)) >= 0) {
            out += "\\x";
            out += kHex[(u >> 4) & 0xF];
            out += kHex[u & 0xF];
            continue;
        }
        hexBefore = false;
        switch (u) {
        case u'\a':
            out += "\\a";
            break;
        case u'\b':
            out += "\\b";
            break;
        case u'\f':
            out += "\\f";
            break;
        case u'\n':
            out += "\\n";
            break;
        case u'\r':
            out += "\\r";
            break;
        case u'\t':
            out += "\\t";
            break;
        case u'\v':
            out += "\\v";
            break;
        case u'"':
        case u'\\':
            out += '\\';
            out += char(u);
            break;
        default:
            // U+FEFF too: a reader of UTF-8 may take it for a byte-order mark.
            if (u <= 0x1F || u == 0x7F || u == 0xFEFF) {
                out += "\\x";
                if (u > 0xFF) {
                    out += kHex[(u >> 12) & 0xF];
                    out += kHex[(u >> 8) & 0xF];
                }
                out += kHex[(u >> 4) & 0xF];
                out += kHex[u & 0xF];
                hexBefore = true;
            } else if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
                out += s.mid(i, 2).toUtf8(); // a character beyond U+FFFF, whole
                ++i;
            } else {
                out += QString(c).toUtf8();
            }
        }
    }
    if (quote || out.startsWith(' ') || out.endsWith(' '))
        out = '"' + out + '"';
    return out;
}

std::optional<QString> SettingsFile::unescapedValue(QByteArrayView value) {
    const QByteArrayView v = trimmed(value);
    QByteArray out;
    bool inQuotes = false;
    for (qsizetype i = 0; i < v.size(); ++i) {
        const char c = v.at(i);
        if (c == '"') {
            inQuotes = !inQuotes;
            continue;
        }
        if (c != '\\' || i + 1 == v.size()) {
            out += c;
            continue;
        }
        const char e = v.at(++i);
        switch (e) {
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'v':
            out += '\v';
            break;
        case 'x': {
            char32_t u = 0;
            int digits = 0;
            while (i + 1 < v.size() && digits < 4 && hexValue(v.at(i + 1)) >= 0) {
                u = u * 16 + char32_t(hexValue(v.at(++i)));
                ++digits;
            }
            appendUnicode(out, u);
            break;
        }
        default:
            if (e >= '0' && e <= '7') {
                char32_t u = char32_t(e - '0');
                for (int digits = 1;
                     digits < 3 && i + 1 < v.size() && v.at(i + 1) >= '0' && v.at(i + 1) <= '7';
                     ++digits)
                    u = u * 8 + char32_t(v.at(++i) - '0');
                appendUnicode(out, u);
            } else {
                out += e; // \" \' \\ \? and anything else: the character itself
            }
        }
    }
    // A U+FEFF at the start is text here, not a byte-order mark.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(out);
    if (text.startsWith(QLatin1String("@@")))
        return text.mid(1);
    // "@Variant(...)", "@ByteArray(...)", "@Rect(...)" and the like are no text.
    if (text.startsWith(u'@'))
        return std::nullopt;
    return text;
}

} // namespace coding
