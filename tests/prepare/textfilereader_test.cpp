// Reading a text file for a test: encodings, cleaning, the length limits, and
// files that are no usable text.
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
    const TextFile file = readTextFile(write("emoji.txt", text.toUtf8()));
    EXPECT_EQ(file.status, TextFile::Status::Ok);
    EXPECT_EQ(file.text, QString(1999, QChar(0x4E00)));
}

TEST_F(TextFileReader, ReadsGbkUtf8AndUtf8WithBom) {
    const QString text = QStringLiteral("我们学习汉语，这是一篇用来测试编码的短文。ABC123");
    struct Case {
        const char *name;
        QByteArray bytes;
        TextEncoding encoding;
    } const cases[] = {
        {"gbk", gb18030(text), TextEncoding::Gb18030},
        {"utf8", text.toUtf8(), TextEncoding::Utf8},
        {"utf8_bom", "\xEF\xBB\xBF" + text.toUtf8(), TextEncoding::Utf8},
        // Only blanks and line breaks in the first chunk, GBK after it.
        {"gbk_after_a_blank_first_chunk", QByteArray(100000, ' ') + gb18030(text),
         TextEncoding::Gb18030},
        // A character split between two chunks.
        {"gbk_split_at_chunk", QByteArray(65535, '\n') + gb18030(text), TextEncoding::Gb18030},
        {"utf8_split_at_chunk", QByteArray(65535, '\n') + text.toUtf8(), TextEncoding::Utf8},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const TextFile file = readTextFile(write("enc.txt", c.bytes));
        EXPECT_EQ(file.status, TextFile::Status::Ok);
        EXPECT_EQ(file.encoding, c.encoding);
        EXPECT_EQ(file.text, text);
    }
}

TEST_F(TextFileReader, FilesThatAreNoTextGetAReason) {
    QByteArray controls;
    for (int i = 0; i < 400; ++i)
        controls += i % 3 ? "\x01\x02\x03" : "abc";
    const QByteArray textWithNul = QStringLiteral("我们学习汉语，这是一篇短文。").toUtf8() + '\0';
    struct Case {
        const char *name;
        QString path;
        TextFile::Status status;
    } const cases[] = {
        {"nul_bytes", write("nul.txt", textWithNul), TextFile::Status::Binary},
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
