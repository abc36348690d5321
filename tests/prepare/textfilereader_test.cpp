// Reading a text file for a test: encodings (UTF-8, GB18030, UTF-16, Big5), cleaning, the
// length limits, and files that are no usable text.
#include "prepare/textfilereader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

using prepare::MaxReadBytes;
using prepare::MaxTextLength;
using prepare::MinTextLength;
using prepare::readTextFile;
using prepare::TextEncoding;
using prepare::TextFile;

namespace {

QByteArray gb18030(const QString &text) {
    return QStringEncoder("GB18030")(text);
}
QByteArray big5(const QString &text) {
    QStringEncoder encoder("Big5");
    const QByteArray bytes = encoder(text);
    EXPECT_FALSE(encoder.hasError()) << "not all of the text is in Big5";
    return bytes;
}
QByteArray utf16le(const QString &text) {
    return QStringEncoder(QStringConverter::Utf16LE)(text);
}
QByteArray utf16be(const QString &text) {
    return QStringEncoder(QStringConverter::Utf16BE)(text);
}
const QByteArray BomLe("\xFF\xFE");
const QByteArray BomBe("\xFE\xFF");
const QByteArray BomUtf8("\xEF\xBB\xBF");

class TextFileReader : public ::testing::Test {
protected:
    QString write(const QString &name, const QByteArray &bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QTemporaryDir m_dir;
};

// A device that never ends: the reader must stop on its own once it has enough.
class EndlessText : public QIODevice {
public:
    explicit EndlessText(QByteArray pattern, qint64 failAfter = -1)
        : m_pattern(std::move(pattern)), m_failAfter(failAfter) {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        if (m_failAfter >= 0 && bytesRead >= m_failAfter) {
            setErrorString(QStringLiteral("device failed"));
            return -1;
        }
        for (qint64 i = 0; i < maxSize; ++i)
            data[i] = m_pattern.at((bytesRead + i) % m_pattern.size());
        bytesRead += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_pattern;
    qint64 m_failAfter;
};

TEST(CleanText, RemovesQuotesTabsBlanksAndEveryLineBreak) {
    struct Case {
        const char *name, *in, *out;
    } const cases[] = {
        {"quotes_tabs_blanks", "我'们\"学\t习 好", "我们学习好"},
        {"crlf_lines_join", "abc\r\nabc\r\nabc", "abcabcabc"},
        {"lf_lines_join", "第一行\n第二行\n", "第一行第二行"},
        {"lone_cr_removed", "甲\r乙", "甲乙"},
        {"blank_inside_a_line_break", "甲\r \n乙", "甲乙"},
        {"wide_blank_and_wide_quotes_stay", "甲　“乙”", "甲　“乙”"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(prepare::cleanText(QString::fromUtf8(c.in)), QString::fromUtf8(c.out));
    }
}

TEST_F(TextFileReader, KeepsTheFirst2000CleanedCharacters) {
    QString source, expected;
    for (int i = 0; i < 2500; ++i) {
        const QChar ch(0x4E00 + i);
        source += ch;
        expected += ch;
        if (i % 40 == 39)
            source += QStringLiteral(" \"'\t\r\n");
    }
    const TextFile file = readTextFile(write("long.txt", source.toUtf8()));
    EXPECT_EQ(file.status, TextFile::Status::Ok);
    EXPECT_EQ(file.text, expected.left(2000));
    EXPECT_TRUE(file.cut);
}

TEST_F(TextFileReader, SaysWhetherTextWasCutOff) {
    struct Case {
        const char *name;
        QByteArray bytes;
        bool cut;
    } const cases[] = {
        {"exactly_2000", QByteArray(2000, 'a'), false},
        {"2000_and_blanks_after", QByteArray(2000, 'a') + QByteArray(20000, ' '), false},
        {"one_more", QByteArray(2001, 'a'), true},
        // The 2000th character ends the first chunk exactly: the next one tells.
        {"more_in_the_next_chunk", QByteArray(6192, ' ') + QByteArray(2000, 'a') + "b", true},
        {"short", QByteArray(30, 'a'), false},
        {"utf16_exactly_2000", BomLe + utf16le(QString(2000, QLatin1Char('a'))), false},
        {"utf16_one_more", BomLe + utf16le(QString(2001, QLatin1Char('a'))), true},
        {"utf16_more_in_the_next_chunk",
         BomLe + utf16le(QString(2095, QLatin1Char(' ')) + QString(2000, QLatin1Char('a'))) +
             utf16le(QStringLiteral("b")),
         true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(write(QStringLiteral("%1.txt").arg(c.name), c.bytes));
        EXPECT_EQ(file.status, TextFile::Status::Ok);
        EXPECT_EQ(file.cut, c.cut);
    }
}

TEST_F(TextFileReader, TwentyCharactersAreEnoughNineteenAreNot) {
    struct Case {
        const char *name;
        int length;
        TextFile::Status status;
    } const cases[] = {
        {"twenty", 20, TextFile::Status::Ok},
        {"nineteen", 19, TextFile::Status::TooShort},
        {"empty", 0, TextFile::Status::TooShort},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        // Blanks and line breaks do not count.
        QString text;
        for (int i = 0; i < c.length; ++i)
            text += QChar(0x4E00 + i) + QLatin1String(i % 5 == 4 ? "\r\n" : " ");
        const TextFile file = readTextFile(write("short.txt", text.toUtf8()));
        EXPECT_EQ(file.status, c.status);
        EXPECT_EQ(file.text.size(), c.length);
    }
}

TEST_F(TextFileReader, NeverCutsACharacterInHalfAtTheLimit) {
    const QString text = QString(1999, QChar(0x4E00)) + QString::fromUtf8("😀后面");
    // In UTF-16 the pair also straddles the first two chunks: 4096 units each.
    const QString straddling = QString(2095, QLatin1Char(' ')) + text;
    struct Case {
        const char *name;
        QByteArray bytes;
    } const cases[] = {
        {"utf8", text.toUtf8()},
        {"utf16le", BomLe + utf16le(straddling)},
        {"utf16be", BomBe + utf16be(straddling)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(write("emoji.txt", c.bytes));
        EXPECT_EQ(file.status, TextFile::Status::Ok);
        EXPECT_EQ(file.text, QString(1999, QChar(0x4E00)));
        EXPECT_TRUE(file.cut);
    }
}

TEST_F(TextFileReader, ReadsUtf8Gb18030AndUtf16WithAndWithoutByteOrderMark) {
    const QString text = QStringLiteral("我们学习汉语，这是一篇用来测试编码的短文。ABC123");
    const QString lines =
        QStringLiteral("我们学习汉语，\r\n这是一篇用来测试编码的短文。\r\nABC123");
    // A surrogate pair across the first two chunks (4096 units each, the mark one of them).
    const QString pair = QString::fromUtf8("𠮷");
    const QString pairText = QString(4094, QLatin1Char('\n')) + pair + text;
    struct Case {
        const char *name;
        QByteArray bytes;
        TextEncoding encoding;
        QString text;
    } const cases[] = {
        {"gbk", gb18030(text), TextEncoding::Gb18030, text},
        {"utf8", text.toUtf8(), TextEncoding::Utf8, text},
        {"utf8_bom", BomUtf8 + text.toUtf8(), TextEncoding::Utf8, text},
        // A byte-order mark before GBK makes no UTF-8 and is no text.
        {"utf8_bom_before_gbk", BomUtf8 + gb18030(text), TextEncoding::Gb18030, text},
        // Only blanks and line breaks in the first chunk, GBK after it.
        {"gbk_after_a_blank_first_chunk", QByteArray(100000, ' ') + gb18030(text),
         TextEncoding::Gb18030, text},
        // A character split between two chunks.
        {"gbk_split_at_chunk", QByteArray(65535, '\n') + gb18030(text), TextEncoding::Gb18030,
         text},
        {"utf8_split_at_chunk", QByteArray(65535, '\n') + text.toUtf8(), TextEncoding::Utf8, text},
        // What Notepad writes as "Unicode", and its big-endian form.
        {"utf16le_bom", BomLe + utf16le(lines), TextEncoding::Utf16Le, text},
        {"utf16be_bom", BomBe + utf16be(lines), TextEncoding::Utf16Be, text},
        {"utf16le_no_bom", utf16le(lines), TextEncoding::Utf16Le, text},
        {"utf16be_no_bom", utf16be(lines), TextEncoding::Utf16Be, text},
        {"utf16le_pair_split_at_chunk", BomLe + utf16le(pairText), TextEncoding::Utf16Le,
         pair + text},
        {"utf16be_no_bom_pair_split_at_chunk", utf16be(QLatin1Char(' ') + pairText),
         TextEncoding::Utf16Be, pair + text},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(write("enc.txt", c.bytes));
        EXPECT_EQ(file.status, TextFile::Status::Ok);
        EXPECT_EQ(file.encoding, c.encoding);
        EXPECT_EQ(file.text, c.text);
    }
}

// Real sentences and paragraphs, simplified and traditional, in GBK and in Big5.
TEST_F(TextFileReader, TellsBig5FromGbk) {
    const QString simplified[] = {
        QStringLiteral("今天天气很好，我们一起去公园散步，看到很多人在湖边钓鱼。"),
        QStringLiteral("学习打字需要耐心，每天练习半小时，一个月后就能看到明显的进步。"),
        QStringLiteral("这家饭馆的菜做得非常地道，价格也不贵，周末总是坐满了客人。"),
        QStringLiteral("他从小就喜欢读书，长大以后成为了一名出色的语文老师。"),
        QStringLiteral(
            "中文输入法的种类很多，有的根据读音，有的根据字形。根据读音的输入法容易学，但是遇到"
            "不认识的字就没有办法了；根据字形的输入法需要记住一些规则，开始的时候比较难，熟练以"
            "后速度却非常快。很多专业的打字员都用字形输入法，因为它的重码少，不用经常停下来选字"
            "。要想真正掌握一种输入法，最好的办法是每天坚持练习，先练单字，再练词语，最后练习整"
            "段的文章。练习的时候不要总看键盘，应该把注意力放在屏幕上，这样才能养成良好的习惯。"),
        QStringLiteral(
            "春节是中国最重要的传统节日。每到春节，在外地工作的人都要回家和家人团聚。除夕晚上，"
            "全家人坐在一起吃年夜饭，一边吃饭一边看电视里的晚会。孩子们最高兴，因为他们可以穿新"
            "衣服，还能收到长辈给的压岁钱。到了半夜十二点，外面响起了鞭炮声，人们互相祝贺新年快"
            "乐。"),
        // Pinyin letters are in GBK and in Big5 rows that hold common characters.
        QStringLiteral("ā á ǎ à ō ó ǒ ò ē é ě è ī í ǐ ì ū ú ǔ ù ǖ ǘ ǚ ǜ 声调练习：妈麻马骂"),
    };
    const QString traditional[] = {
        QStringLiteral("今天天氣很好，我們一起去公園散步，看到很多人在湖邊釣魚。"),
        QStringLiteral("學習打字需要耐心，每天練習半小時，一個月後就能看到明顯的進步。"),
        QStringLiteral("這家飯館的菜做得非常地道，價格也不貴，週末總是坐滿了客人。"),
        QStringLiteral("他從小就喜歡讀書，長大以後成為了一名出色的語文老師。"),
        QStringLiteral(
            "中文輸入法的種類很多，有的根據讀音，有的根據字形。根據讀音的輸入法容易學，但是遇到"
            "不認識的字就沒有辦法了；根據字形的輸入法需要記住一些規則，開始的時候比較難，熟練以"
            "後速度卻非常快。很多專業的打字員都用字形輸入法，因為它的重碼少，不用經常停下來選字"
            "。要想真正掌握一種輸入法，最好的辦法是每天堅持練習，先練單字，再練詞語，最後練習整"
            "段的文章。練習的時候不要總看鍵盤，應該把注意力放在螢幕上，這樣才能養成良好的習慣。"),
        QStringLiteral(
            "春節是中國最重要的傳統節日。每到春節，在外地工作的人都要回家和家人團聚。除夕晚上，"
            "全家人坐在一起吃年夜飯，一邊吃飯一邊看電視裡的晚會。孩子們最高興，因為他們可以穿新"
            "衣服，還能收到長輩給的壓歲錢。到了半夜十二點，外面響起了鞭炮聲，人們互相祝賀新年快"
            "樂。"),
    };
    for (const QString &text : simplified) {
        SCOPED_TRACE(text.toStdString());
        const TextFile file = readTextFile(write("gbk.txt", gb18030(text)));
        EXPECT_EQ(file.encoding, TextEncoding::Gb18030);
        EXPECT_EQ(file.text, prepare::cleanText(text));
    }
    for (const QString &text : traditional) {
        SCOPED_TRACE(text.toStdString());
        const TextFile inBig5 = readTextFile(write("big5.txt", big5(text)));
        EXPECT_EQ(inBig5.encoding, TextEncoding::Big5);
        EXPECT_EQ(inBig5.text, text);
        // Traditional characters typed in GBK stay GBK.
        const TextFile inGbk = readTextFile(write("gbk.txt", gb18030(text)));
        EXPECT_EQ(inGbk.encoding, TextEncoding::Gb18030);
        EXPECT_EQ(inGbk.text, text);
    }

    // Big5 over several chunks: a character split between two, and the cut at 2000.
    const QString paragraph = traditional[4] + QStringLiteral("\r\n");
    QString longText;
    while (longText.size() < 3 * MaxTextLength)
        longText += paragraph;
    const TextFile split = readTextFile(write("split.txt", QByteArray(8191, ' ') + big5(longText)));
    EXPECT_EQ(split.encoding, TextEncoding::Big5);
    EXPECT_EQ(split.text, prepare::cleanText(longText).left(MaxTextLength));
    EXPECT_TRUE(split.cut);
}

TEST_F(TextFileReader, FilesThatAreNoTextGetAReason) {
    QByteArray controls;
    for (int i = 0; i < 400; ++i)
        controls += i % 3 ? "\x01\x02\x03" : "abc";
    const QString text = QStringLiteral("我们学习汉语，这是一篇短文。");
    const QByteArray textWithNul = text.toUtf8() + '\0';
    // Neither byte order of these reads as text.
    QByteArray numbers;
    for (int i = 0; i < 300; ++i)
        numbers += QByteArray::number(i * 7919).rightJustified(8, '\0');
    struct Case {
        const char *name;
        QString path;
        TextFile::Status status;
    } const cases[] = {
        {"nul_bytes", write("nul.txt", textWithNul), TextFile::Status::Binary},
        {"nul_bytes_even_length", write("nul2.txt", textWithNul + 'a'), TextFile::Status::Binary},
        {"nul_padded_numbers", write("numbers.txt", numbers), TextFile::Status::Binary},
        {"utf16_with_a_nul_character", write("nul16.txt", BomLe + utf16le(text + QChar(0) + text)),
         TextFile::Status::Binary},
        {"control_characters", write("ctl.txt", controls), TextFile::Status::Binary},
        {"missing", m_dir.filePath("missing.txt"), TextFile::Status::Unreadable},
        {"directory", m_dir.path(), TextFile::Status::Unreadable},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(c.path);
        EXPECT_EQ(file.status, c.status);
        EXPECT_TRUE(file.text.isEmpty());
        if (c.status == TextFile::Status::Unreadable) {
            EXPECT_FALSE(file.error.isEmpty());
        }
    }
    EXPECT_FALSE(QFile::exists(m_dir.filePath("missing.txt"))) << "opening created the file";
}

TEST_F(TextFileReader, HalfACharacterInUtf16DoesNotDecode) {
    const QString text =
        QStringLiteral("学习打字需要耐心，每天练习半小时，一个月后就能看到明显的进步。");
    const QString before = text.left(9), after = text.mid(9);
    const QString replaced = before + QChar(0xFFFD) + after;
    struct Case {
        const char *name;
        QByteArray bytes;
        QString text;
    } const cases[] = {
        {"high_surrogate_alone",
         BomLe + utf16le(before) + QByteArray("\x00\xD8", 2) + utf16le(after), replaced},
        {"low_surrogate_alone",
         BomLe + utf16le(before) + QByteArray("\x00\xDC", 2) + utf16le(after), replaced},
        {"high_surrogate_at_the_end", BomBe + utf16be(text) + QByteArray("\xD8\x00", 2),
         text + QChar(0xFFFD)},
        {"odd_byte_at_the_end", BomLe + utf16le(text) + "a", text + QChar(0xFFFD)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(write("half.txt", c.bytes));
        EXPECT_EQ(file.status, TextFile::Status::Ok);
        EXPECT_EQ(file.text, c.text);
    }
}

TEST_F(TextFileReader, AVeryLargeFileIsReadOnlyAsFarAsNeeded) {
    // 1 GB, sparse: 210 KB of text at the start and a hole after it, which would
    // read as NUL bytes and make the file binary if the reader went that far.
    const QString path = write("huge.txt", QString(70000, QChar(0x5B57)).toUtf8());
    QFile file(path);
    ASSERT_TRUE(file.resize(qint64(1) << 30));
    const TextFile result = readTextFile(path);
    EXPECT_EQ(result.status, TextFile::Status::Ok);
    EXPECT_EQ(result.text, QString(2000, QChar(0x5B57)));

    EndlessText endless(QStringLiteral("我们学习。\r\n").toUtf8());
    const TextFile fromDevice = readTextFile(endless);
    EXPECT_EQ(fromDevice.status, TextFile::Status::Ok);
    EXPECT_EQ(fromDevice.text.size(), 2000);
    EXPECT_LE(endless.bytesRead, 128 * 1024);

    // Blanks without end give no text: reading stops after a few megabytes, and the
    // text is too short.
    EndlessText blanks(QByteArray(" \r\n\t"));
    const TextFile empty = readTextFile(blanks);
    EXPECT_EQ(empty.status, TextFile::Status::TooShort);
    EXPECT_LE(blanks.bytesRead, MaxReadBytes + 64 * 1024);
    EndlessText sparse(QByteArray(4096, ' ') + QStringLiteral("字").toUtf8());
    const TextFile few = readTextFile(sparse);
    EXPECT_EQ(few.status, TextFile::Status::Ok);
    EXPECT_GT(few.text.size(), MinTextLength);
    EXPECT_LT(few.text.size(), MaxTextLength);
}

TEST_F(TextFileReader, AReadErrorIsReported) {
    EndlessText failing(QByteArray(" \r\n"), 64 * 1024);
    const TextFile file = readTextFile(failing);
    EXPECT_EQ(file.status, TextFile::Status::Unreadable);
    EXPECT_EQ(file.error, QStringLiteral("device failed"));
}

} // namespace
