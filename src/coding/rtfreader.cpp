// The RTF reader: one pass over the bytes, a stack of group states, and the text
// collected in runs of equal formatting.

#include "rtf.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QTextDocument>

#include <cstring>
#include <map>
#include <memory>
#include <vector>

namespace coding {

namespace {

enum class Destination {
    Text,       // the document's text
    Skip,       // a destination whose content is not text
    FontTable,  // \fonttbl: font entries
    ColorTable, // \colortbl: colour entries
};

struct GroupState {
    Destination destination = Destination::Text;
    int font = -1; // -1: the document's default font
    int halfPoints = 0;
    int color = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    // \ab and \ai, the bold and italic of the associated (East Asian) font, and
    // whether the text is in that font (\dbch): LibreOffice marks Chinese text bold
    // that way.
    bool associatedBold = false;
    bool associatedItalic = false;
    bool doubleByte = false;
    int unicodeSkip = 1; // \ucN
};

struct Font {
    QString name;
    int charset = -1;
};

// The Windows code page of a \fcharset, or 0 for "the document's \ansicpg".
int codePageOfCharset(int charset) {
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return 1252; // symbol fonts: their bytes are taken as they come
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

const char *encodingNameOfCodePage(int codePage) {
    switch (codePage) {
    case 936:
        return "GB18030"; // a superset of code page 936, byte for byte
    case 950:
        return "Big5";
    case 932:
        return "Shift_JIS";
    case 949:
        return "windows-949";
    case 1361:
        return "johab";
    case 874:
        return "windows-874";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 10000:
        return "macintosh";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 65001:
        return "UTF-8";
    default:
        return "windows-1252";
    }
}

// Destinations whose content is not the document's text. Groups that begin with \*
// are skipped as well when their destination is unknown.
bool isSkippedDestination(const char *word) {
    static const char *const kSkipped[] = {
        "author",
        "annotation",
        "atnauthor",
        "atnid",
        "bkmkend",
        "bkmkstart",
        "buptim",
        "category",
        "colorschememapping",
        "comment",
        "company",
        "creatim",
        "datastore",
        "do",
        "doccomm",
        "docvar",
        "fchars",
        "filetbl",
        "fldinst",
        "footer",
        "footerf",
        "footerl",
        "footerr",
        "footnote",
        "ftncn",
        "ftnsep",
        "ftnsepc",
        "header",
        "headerf",
        "headerl",
        "headerr",
        "hlinkbase",
        "info",
        "keywords",
        "latentstyles",
        "lchars",
        "levelnumbers",
        "leveltext",
        "listname",
        "listoverridetable",
        "listtable",
        "listtext",
        "manager",
        "nonshppict",
        "object",
        "objdata",
        "operator",
        "pgdsctbl",
        "pict",
        "pn",
        "pntext",
        "pntxta",
        "pntxtb",
        "printim",
        "private",
        "revtbl",
        "revtim",
        "rsidtbl",
        "rxe",
        "shp",
        "shpinst",
        "shppict",
        "sn",
        "sp",
        "stylesheet",
        "subject",
        "sv",
        "tc",
        "template",
        "themedata",
        "title",
        "txe",
        "userprops",
        "xe",
        "xmlnstbl",
        "wgrffmtfilter",
        "mmathPr",
        "passwordhash",
        "htmltag",
        "mhtmltag",
    };
    for (const char *s : kSkipped)
        if (std::strcmp(s, word) == 0)
            return true;
    return false;
}

// A character that a control word stands for, or 0.
char16_t characterOfWord(const char *word) {
    struct Entry {
        const char *word;
        char16_t c;
    };
    static const Entry kWords[] = {
        {"tab", u'\t'},           {"emdash", u'\u2014'},    {"endash", u'\u2013'},
        {"emspace", u'\u2003'},   {"enspace", u'\u2002'},   {"qmspace", u'\u2005'},
        {"bullet", u'\u2022'},    {"lquote", u'\u2018'},    {"rquote", u'\u2019'},
        {"ldblquote", u'\u201c'}, {"rdblquote", u'\u201d'}, {"zwj", u'\u200d'},
        {"zwnj", u'\u200c'},      {"ltrmark", u'\u200e'},   {"rtlmark", u'\u200f'},
        {"zwbo", u'\u200b'},
    };
    for (const Entry &e : kWords)
        if (std::strcmp(e.word, word) == 0)
            return e.c;
    return 0;
}

class Reader {
public:
    explicit Reader(const QByteArray &bytes) : m_data(bytes.constData()), m_size(bytes.size()) {}

    std::optional<RtfText> read(RtfError *error) {
        const auto fail = [&](RtfError::Kind kind) -> std::optional<RtfText> {
            if (error)
                *error = RtfError{kind, m_pos};
            return std::nullopt;
        };
        if (m_size == 0)
            return fail(RtfError::Kind::Empty);
        if (m_size > kRtfMaxBytes)
            return fail(RtfError::Kind::TooLarge);
        if (m_size < 5 || std::memcmp(m_data, "{\\rtf", 5) != 0)
            return fail(RtfError::Kind::NotRtf);

        if (const auto kind = parse()) {
            return fail(*kind);
        }
        return std::move(m_result);
    }

private:
    using Kind = RtfError::Kind;

    std::optional<Kind> parse() {
        bool ended = false;
        while (m_pos < m_size) {
            if (m_failure)
                return m_failure;
            const char c = m_data[m_pos];
            if (ended) {
                // After the document's last } only white space (and the NUL bytes
                // some writers pad with) may follow.
                if (c != ' ' && c != '\r' && c != '\n' && c != '\t' && c != '\0')
                    return Kind::Unbalanced;
                ++m_pos;
                continue;
            }
            switch (c) {
            case '{': {
                flushBytes();
                if (++m_groups > kRtfMaxGroups)
                    return Kind::TooManyGroups;
                if (int(m_stack.size()) >= kRtfMaxDepth)
                    return Kind::TooDeep;
                m_stack.push_back(m_stack.empty() ? GroupState{} : m_stack.back());
                m_skipFallback = 0;
                m_groupStart = true;
                m_ignorable = false;
                ++m_pos;
                continue;
            }
            case '}': {
                flushBytes();
                if (m_stack.empty())
                    return Kind::Unbalanced;
                endGroup();
                m_stack.pop_back();
                m_skipFallback = 0;
                m_groupStart = false;
                m_ignorable = false;
                ++m_pos;
                if (m_stack.empty())
                    ended = true;
                continue;
            }
            case '\\': {
                if (const auto kind = control())
                    return kind;
                continue;
            }
            case '\r':
            case '\n':
                ++m_pos; // line ends in the file are not text
                continue;
            default:
                break;
            }
            if (m_stack.empty())
                return Kind::Unbalanced;
            m_groupStart = false;
            ++m_pos;
            if (m_skipFallback > 0) {
                --m_skipFallback;
                continue;
            }
            if (const auto kind = textByte(c))
                return kind;
        }
        flushBytes();
        if (m_failure)
            return m_failure;
        if (!ended)
            return Kind::Truncated;
        return std::nullopt;
    }

    // A control word or control symbol at m_pos.
    std::optional<Kind> control() {
        const qint64 start = m_pos;
        ++m_pos;
        if (m_pos >= m_size) {
            m_pos = start;
            return Kind::Truncated;
        }
        if (m_stack.empty())
            return Kind::Unbalanced;
        const char c = m_data[m_pos];
        const bool isLetter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!isLetter)
            return symbol(start);

        char word[33];
        int length = 0;
        while (m_pos < m_size) {
            const char l = m_data[m_pos];
            if (!((l >= 'a' && l <= 'z') || (l >= 'A' && l <= 'Z')))
                break;
            if (length == 32) {
                m_pos = start;
                return Kind::BadControlWord;
            }
            word[length++] = l;
            ++m_pos;
        }
        word[length] = '\0';

        bool hasNumber = false;
        qint64 number = 0;
        bool negative = false;
        if (m_pos < m_size && m_data[m_pos] == '-') {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_size && m_data[m_pos] >= '0' && m_data[m_pos] <= '9') {
            hasNumber = true;
            number = number * 10 + (m_data[m_pos] - '0');
            if (number > kRtfMaxNumber + (negative ? 1 : 0)) {
                m_pos = start;
                return Kind::NumberTooLarge;
            }
            ++m_pos;
        }
        if (negative)
            number = -number;
        if (m_pos >= m_size) {
            // A document never ends in a control word: its last } is missing.
            m_pos = start;
            return Kind::Truncated;
        }
        if (m_data[m_pos] == ' ')
            ++m_pos;

        const bool atGroupStart = m_groupStart;
        m_groupStart = false;
        return controlWord(word, hasNumber, int(number), atGroupStart, start);
    }

    std::optional<Kind> symbol(qint64 start) {
        const char c = m_data[m_pos];
        ++m_pos;
        m_groupStart = c == '*' ? m_groupStart : false;
        switch (c) {
        case '\'': {
            if (m_pos + 2 > m_size) {
                m_pos = start;
                return Kind::Truncated;
            }
            const int hi = hexValue(m_data[m_pos]);
            const int lo = hexValue(m_data[m_pos + 1]);
            m_pos += 2;
            if (m_skipFallback > 0) {
                --m_skipFallback;
                return std::nullopt;
            }
            if (hi < 0 || lo < 0)
                return std::nullopt; // not a byte: nothing to take
            return byte(char(hi * 16 + lo));
        }
        case '*':
            m_ignorable = true;
            return std::nullopt;
        case '\\':
        case '{':
        case '}':
            if (consumeFallback())
                return std::nullopt;
            return byte(c);
        case '~':
            return character(u'\u00a0');
        case '_':
            return character(u'\u2011');
        case '\r':
        case '\n':
            consumeFallback();
            flushBytes(); // \ and a line end: a paragraph end, not text
            return std::nullopt;
        default:
            consumeFallback(); // \-, \:, \| and the like give nothing
            return std::nullopt;
        }
    }

    std::optional<Kind> controlWord(const char *word, bool hasNumber, int n, bool atGroupStart,
                                    qint64 start) {
        const bool ignorable = m_ignorable;
        m_ignorable = false;
        GroupState &g = m_stack.back();

        if (std::strcmp(word, "bin") == 0) {
            // Binary data: n bytes that are no RTF at all.
            flushBytes();
            if (hasNumber && n > 0) {
                if (n > m_size - m_pos) {
                    m_pos = start;
                    return Kind::Truncated;
                }
                m_pos += n;
            }
            return std::nullopt;
        }
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return std::nullopt;
        }

        // Destinations.
        if (atGroupStart || ignorable) {
            if (std::strcmp(word, "fonttbl") == 0) {
                flushBytes();
                g.destination = Destination::FontTable;
                return std::nullopt;
            }
            if (std::strcmp(word, "colortbl") == 0) {
                flushBytes();
                g.destination = Destination::ColorTable;
                m_colors.clear();
                m_colorHasComponent = false;
                m_colorComponents[0] = m_colorComponents[1] = m_colorComponents[2] = 0;
                return std::nullopt;
            }
            if (ignorable || isSkippedDestination(word)) {
                flushBytes();
                g.destination = Destination::Skip;
                return std::nullopt;
            }
        }

        if (g.destination == Destination::Skip)
            return std::nullopt;

        if (g.destination == Destination::FontTable) {
            if (std::strcmp(word, "f") == 0) {
                flushBytes();
                m_fontName.clear();
                m_fontTableEntry = hasNumber ? n : 0;
                if (qsizetype(m_fonts.size()) >= kMaxTableEntries &&
                    !m_fonts.count(m_fontTableEntry))
                    m_fontTableEntry = -1; // a table that large is no font table
                else
                    m_fonts[m_fontTableEntry]; // the entry exists from here on
            } else if (std::strcmp(word, "fcharset") == 0 && m_fontTableEntry >= 0) {
                m_fonts[m_fontTableEntry].charset = n;
            } else if (std::strcmp(word, "u") == 0) {
                return unicode(n);
            }
            return std::nullopt;
        }

        if (g.destination == Destination::ColorTable) {
            const int value = std::clamp(n, 0, 255);
            if (std::strcmp(word, "red") == 0) {
                m_colorComponents[0] = value;
                m_colorHasComponent = true;
            } else if (std::strcmp(word, "green") == 0) {
                m_colorComponents[1] = value;
                m_colorHasComponent = true;
            } else if (std::strcmp(word, "blue") == 0) {
                m_colorComponents[2] = value;
                m_colorHasComponent = true;
            }
            return std::nullopt;
        }

        // The document's text.
        if (std::strcmp(word, "u") == 0)
            return unicode(n);
        if (std::strcmp(word, "uc") == 0) {
            g.unicodeSkip = std::clamp(n, 0, 16);
            return std::nullopt;
        }
        if (const char16_t ch = characterOfWord(word))
            return character(ch);

        flushBytes();
        const bool on = !hasNumber || n != 0;
        if (std::strcmp(word, "plain") == 0) {
            g.font = -1;
            g.halfPoints = 0;
            g.color = 0;
            g.bold = g.italic = g.underline = false;
            g.associatedBold = g.associatedItalic = g.doubleByte = false;
        } else if (std::strcmp(word, "b") == 0) {
            g.bold = on;
        } else if (std::strcmp(word, "i") == 0) {
            g.italic = on;
        } else if (std::strcmp(word, "ab") == 0) {
            g.associatedBold = on;
        } else if (std::strcmp(word, "ai") == 0) {
            g.associatedItalic = on;
        } else if (std::strcmp(word, "dbch") == 0) {
            g.doubleByte = true;
        } else if (std::strcmp(word, "loch") == 0 || std::strcmp(word, "hich") == 0) {
            g.doubleByte = false;
        } else if (std::strcmp(word, "ul") == 0) {
            g.underline = on;
        } else if (std::strcmp(word, "ulnone") == 0) {
            g.underline = false;
        } else if (std::strncmp(word, "ul", 2) == 0 && std::strcmp(word, "ulc") != 0) {
            // \uld, \uldb, \ulw, \ulwave, \ulth and the other underline styles
            g.underline = on;
        } else if (std::strcmp(word, "cf") == 0) {
            g.color = hasNumber ? n : 0;
        } else if (std::strcmp(word, "f") == 0) {
            g.font = hasNumber ? n : 0;
        } else if (std::strcmp(word, "fs") == 0) {
            g.halfPoints = hasNumber && n > 0 ? n : 0;
        } else if (std::strcmp(word, "deff") == 0) {
            m_defaultFont = hasNumber ? n : 0;
        } else if (std::strcmp(word, "ansicpg") == 0) {
            if (hasNumber && n > 0)
                m_codePage = n;
        } else if (std::strcmp(word, "mac") == 0) {
            m_codePage = 10000;
        } else if (std::strcmp(word, "pc") == 0) {
            m_codePage = 437;
        } else if (std::strcmp(word, "pca") == 0) {
            m_codePage = 850;
        }
        // \par, \line, \sect, \page and every other word: nothing of the text.
        return std::nullopt;
    }

    std::optional<Kind> unicode(int n) {
        flushBytes();
        const int unit = n < 0 ? n + 0x10000 : n;
        m_skipFallback = m_stack.back().unicodeSkip;
        if (unit < 0 || unit > 0xffff)
            return std::nullopt;
        return appendText(QString(QChar(char16_t(unit))));
    }

    // A character that a control word or symbol stands for.
    std::optional<Kind> character(char16_t c) {
        if (consumeFallback())
            return std::nullopt;
        flushBytes();
        return appendText(QString(QChar(c)));
    }

    bool consumeFallback() {
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return true;
        }
        return false;
    }

    std::optional<Kind> textByte(char c) {
        if (c == '\t')
            return character(u'\t');
        if (uchar(c) < 0x20)
            return std::nullopt; // other control bytes are no text
        return byte(c);
    }

    // A byte of text in the current code page, decoded with its neighbours.
    std::optional<Kind> byte(char c) {
        const Destination d = m_stack.back().destination;
        if (d == Destination::Skip)
            return std::nullopt;
        if (d == Destination::ColorTable) {
            if (c == ';' && m_colors.size() < kMaxTableEntries) {
                m_colors.append(
                    m_colorHasComponent
                        ? QColor(m_colorComponents[0], m_colorComponents[1], m_colorComponents[2])
                        : QColor());
                m_colorHasComponent = false;
                m_colorComponents[0] = m_colorComponents[1] = m_colorComponents[2] = 0;
            }
            return std::nullopt;
        }
        if (d == Destination::FontTable && c == ';') {
            flushBytes();
            if (m_fontTableEntry >= 0)
                m_fonts[m_fontTableEntry].name = m_fontName.trimmed();
            m_fontName.clear();
            return std::nullopt;
        }
        if (m_bytes.isEmpty())
            m_bytesCodePage = currentCodePage();
        m_bytes += c;
        return std::nullopt;
    }

    int currentCodePage() const {
        int charset = -1;
        if (m_stack.back().destination == Destination::FontTable) {
            const auto it = m_fonts.find(m_fontTableEntry);
            if (it != m_fonts.end())
                charset = it->second.charset;
        } else {
            const int font = m_stack.back().font < 0 ? m_defaultFont : m_stack.back().font;
            const auto it = m_fonts.find(font);
            if (it != m_fonts.end())
                charset = it->second.charset;
        }
        const int codePage = codePageOfCharset(charset);
        return codePage ? codePage : m_codePage;
    }

    std::optional<Kind> flushBytes() {
        if (m_bytes.isEmpty())
            return std::nullopt;
        QStringDecoder &decoder = decoderFor(m_bytesCodePage);
        QString text = decoder.isValid() ? decoder.decode(m_bytes) : QString::fromLatin1(m_bytes);
        m_bytes.clear();
        return appendText(text);
    }

    QStringDecoder &decoderFor(int codePage) {
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end()) {
            auto decoder = std::make_unique<QStringDecoder>(encodingNameOfCodePage(codePage),
                                                            QStringConverter::Flag::Stateless);
            if (!decoder->isValid())
                decoder = std::make_unique<QStringDecoder>("windows-1252",
                                                           QStringConverter::Flag::Stateless);
            it = m_decoders.emplace(codePage, std::move(decoder)).first;
        }
        return *it->second;
    }

    std::optional<Kind> appendText(QString text) {
        const Destination d = m_stack.back().destination;
        // Line and paragraph ends are not text, however they are written (\u10,
        // \'0d, U+2029).
        // Nor are U+FDD0 and U+FDD1, which a text document keeps for the start and the
        // end of its frames, and drops from the text it is given.
        text.removeIf([](QChar c) {
            return c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator ||
                   c == QChar(0xFDD0) || c == QChar(0xFDD1);
        });
        if (d == Destination::FontTable) {
            m_fontName += text;
            if (m_fontName.size() > 256)
                m_fontName.truncate(256);
            return std::nullopt;
        }
        if (d != Destination::Text || text.isEmpty())
            return std::nullopt;
        if (m_result.text.size() + text.size() > kRtfMaxCharacters) {
            // Remembered, since the bytes of the text may be decoded on the way.
            m_failure = Kind::TooMuchText;
            return m_failure;
        }

        const RtfFormat format = currentFormat();
        if (!m_result.runs.isEmpty() && m_result.runs.last().format == format)
            m_result.runs.last().length += text.size();
        else
            m_result.runs.append(RtfRun{m_result.text.size(), text.size(), format});
        m_result.text += text;
        return std::nullopt;
    }

    RtfFormat currentFormat() const {
        const GroupState &g = m_stack.back();
        RtfFormat f;
        if (g.color >= 0 && g.color < m_colors.size())
            f.color = m_colors[g.color];
        f.bold = g.bold || (g.doubleByte && g.associatedBold);
        f.italic = g.italic || (g.doubleByte && g.associatedItalic);
        f.underline = g.underline;
        if (g.font >= 0 && g.font != m_defaultFont) {
            const auto it = m_fonts.find(g.font);
            if (it != m_fonts.end())
                f.fontFamily = it->second.name;
        }
        f.halfPoints = g.halfPoints;
        return f;
    }

    // A font entry in its own group ends with its group, ; or not.
    void endGroup() {
        if (m_stack.back().destination == Destination::FontTable && m_fontTableEntry >= 0 &&
            !m_fontName.isEmpty()) {
            m_fonts[m_fontTableEntry].name = m_fontName.trimmed();
            m_fontName.clear();
        }
    }

    static constexpr qsizetype kMaxTableEntries = 65536;

    const char *m_data;
    qint64 m_size;
    qint64 m_pos = 0;
    std::vector<GroupState> m_stack;
    int m_groups = 0;
    bool m_groupStart = false; // nothing but \* since the last {
    bool m_ignorable = false;  // a \* came before this control word
    int m_skipFallback = 0;    // characters of a \u's fallback still to skip

    int m_codePage = 1252;
    int m_defaultFont = 0;
    std::map<int, Font> m_fonts;
    int m_fontTableEntry = -1;
    QString m_fontName;
    QList<QColor> m_colors;
    int m_colorComponents[3] = {0, 0, 0};
    bool m_colorHasComponent = false;

    QByteArray m_bytes; // text bytes not yet decoded
    int m_bytesCodePage = 1252;
    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;

    RtfText m_result;
    std::optional<Kind> m_failure;

    static int hexValue(char c) {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }
};

} // namespace

QString describeRtfError(const RtfError &error) {
    const QString at = QString::number(error.offset + 1);
    switch (error.kind) {
    case RtfError::Kind::Empty:
        return QStringLiteral("RTF文件是空的");
    case RtfError::Kind::TooLarge:
        return QStringLiteral("RTF文件太大（超过%1 MB）").arg(kRtfMaxBytes / (1024 * 1024));
    case RtfError::Kind::NotRtf:
        return QStringLiteral("不是RTF文件");
    case RtfError::Kind::Truncated:
        return QStringLiteral("RTF文件不完整（第%1字节）").arg(at);
    case RtfError::Kind::Unbalanced:
        return QStringLiteral("RTF文件的括号不配对（第%1字节）").arg(at);
    case RtfError::Kind::TooDeep:
        return QStringLiteral("RTF文件的组嵌套太深（第%1字节）").arg(at);
    case RtfError::Kind::TooManyGroups:
        return QStringLiteral("RTF文件的组太多（第%1字节）").arg(at);
    case RtfError::Kind::NumberTooLarge:
        return QStringLiteral("RTF文件中的数值太大（第%1字节）").arg(at);
    case RtfError::Kind::BadControlWord:
        return QStringLiteral("RTF文件中有无效的控制字（第%1字节）").arg(at);
    case RtfError::Kind::TooMuchText:
        return QStringLiteral("RTF文件的文字太多（第%1字节）").arg(at);
    case RtfError::Kind::Unreadable:
        return QStringLiteral("无法读取RTF文件");
    }
    return QStringLiteral("RTF文件有错误");
}

std::optional<RtfText> readRtf(const QByteArray &bytes, RtfError *error) {
    return Reader(bytes).read(error);
}

std::optional<RtfError> readRtf(QIODevice &device, QTextDocument &doc) {
    if (!device.isReadable())
        return RtfError{RtfError::Kind::Unreadable, 0};
    QByteArray bytes;
    char buffer[65536];
    while (bytes.size() <= kRtfMaxBytes) {
        const qint64 n = device.read(buffer, sizeof buffer);
        if (n < 0)
            return RtfError{RtfError::Kind::Unreadable, bytes.size()};
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    RtfError error;
    const auto text = readRtf(bytes, &error);
    if (!text)
        return error;
    applyRtfText(*text, doc);
    return std::nullopt;
}

} // namespace coding
