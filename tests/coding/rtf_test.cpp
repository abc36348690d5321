// The RTF writer and reader: round trips, what other writers produce, and damaged
// files.
#include "coding/rtf.h"
#include "coding/textcolouring.h"

#include <QBuffer>
#include <QFile>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace coding {
namespace {

// The runs of a text as "piece:attributes", e.g. "学习:#0000ff u F=Calibri S=24".
QStringList describe(const RtfText &t) {
    QStringList out;
    for (const RtfRun &r : t.runs) {
        QStringList a;
        if (r.format.color.isValid())
            a << r.format.color.name();
        if (r.format.bold)
            a << QStringLiteral("b");
        if (r.format.italic)
            a << QStringLiteral("i");
        if (r.format.underline)
            a << QStringLiteral("u");
        if (!r.format.fontFamily.isEmpty())
            a << QStringLiteral("F=") + r.format.fontFamily;
        if (r.format.halfPoints)
            a << QStringLiteral("S=%1").arg(r.format.halfPoints);
        out << t.text.mid(r.start, r.length) + QLatin1Char(':') + a.join(QLatin1Char(' '));
    }
    return out;
}

RtfFormat format(QColor color, bool bold = false, bool italic = false, bool underline = false,
                 QString family = {}, int halfPoints = 0) {
    return RtfFormat{color, bold, italic, underline, family, halfPoints};
}

// A text built from pieces, each with its format.
RtfText text(std::initializer_list<std::pair<QString, RtfFormat>> pieces) {
    RtfText t;
    for (const auto &[piece, f] : pieces) {
        t.runs.append(RtfRun{t.text.size(), piece.size(), f});
        t.text += piece;
    }
    return t;
}

std::optional<RtfText> read(const QByteArray &bytes, RtfError *error = nullptr) {
    RtfError ignored;
    return readRtf(bytes, error ? error : &ignored);
}

QByteArray fixture(const char *name) {
    QFile f(qEnvironmentVariable("TREVIX_SOURCE_DIR") + QStringLiteral("/tests/coding/rtf/") +
            QLatin1String(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name;
    return f.readAll();
}

TEST(Rtf, TextAndFormatsSurviveWritingAndReading) {
    const QColor red(0xff, 0, 0), blue(0, 0, 0xff);
    const QString kai = QString::fromUtf16(kKaiFontName);
    struct Case {
        const char *name;
        RtfText text;
    } const cases[] = {
        {"empty", RtfText{}},
        {"ascii_and_the_escaped_three", text({{QStringLiteral("a\\b{c}d ? 1;2\t"), RtfFormat{}}})},
        {"chinese_and_full_width", text({{QStringLiteral("我们学习，“ＡＢ１”。"), RtfFormat{}}})},
        {"beyond_the_basic_plane", text({{QStringLiteral("𠀀𪚥好"), format(red)}})},
        {"colours_and_hint_marks", text({{QStringLiteral("我们"), format(red)},
                                         {QStringLiteral("学习"), format(blue, false, false, true)},
                                         {QStringLiteral("好"), format(red, false, false, true)},
                                         {QStringLiteral("。"), RtfFormat{}}})},
        {"bold_italic_font_and_size",
         text({{QStringLiteral("文"), format(QColor(1, 2, 3), true, true, false, kai, 32)},
               {QStringLiteral("化"), format({}, false, false, false, QStringLiteral("Noto Sans"))},
               {QStringLiteral("x"), format({}, false, false, false, {}, 21)}})},
        {"control_characters", text({{QString(QChar(1)) + QChar(0x7f), RtfFormat{}}})},
        {"odd_font_names",
         text({{QStringLiteral("a"), format({}, false, false, false, QStringLiteral("x;{}\\"))},
               {QStringLiteral("b"),
                format({}, false, false, false, QString(QChar(0xd840)) + QChar(0) + "n")}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray rtf = writeRtf(c.text);
        for (const char b : rtf)
            ASSERT_TRUE(uchar(b) < 0x80) << "the file is 7-bit";
        RtfError error;
        const auto back = readRtf(rtf, &error);
        ASSERT_TRUE(back) << describeRtfError(error).toStdString();
        EXPECT_EQ(back->text, c.text.text);
        EXPECT_EQ(describe(*back), describe(c.text));
        EXPECT_EQ(*back, c.text);
    }
}

TEST(Rtf, TheWriterSpeaksCodePage936WithTheKaiFontAndUnicodeText) {
    const QByteArray rtf = writeRtf(text({{QStringLiteral("我a"), format(QColor(255, 0, 0))}}));
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936")) << rtf.constData();
    // 楷体 in code page 936
    EXPECT_TRUE(rtf.contains("{\\f0\\fnil\\fcharset134 \\'bf\\'ac\\'cc\\'e5_GB2312;}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;}"));
    EXPECT_TRUE(rtf.contains("\\uc1"));
    EXPECT_TRUE(rtf.contains("{\\cf1 \\u25105?a}"));
    // Characters above U+7FFF are signed 16-bit numbers, as Word writes them.
    EXPECT_TRUE(writeRtf(text({{QStringLiteral("，"), RtfFormat{}}})).contains("\\u-244?"));
}

TEST(Rtf, RunsThatLeaveGapsAreWrittenWholeInTheDefaultFormat) {
    RtfText t{QStringLiteral("我们学习"), {{1, 2, format(QColor(255, 0, 0))}}};
    const auto back = read(writeRtf(t));
    ASSERT_TRUE(back);
    EXPECT_EQ(describe(*back), (QStringList{"我:", "们学:#ff0000", "习:"}));
}

TEST(Rtf, ADocumentKeepsItsColoursAndHintMarksThroughAFile) {
    QTextDocument doc;
    QTextCursor cursor(&doc);
    QTextCharFormat red, blueMarked, kai;
    red.setForeground(QColor(255, 0, 0));
    blueMarked.setForeground(QColor(0, 0, 255));
    setHintMark(blueMarked, true);
    kai.setForeground(QColor(255, 0, 0));
    kai.setFontFamilies({QString::fromUtf16(kKaiFontName)});
    cursor.insertText(QStringLiteral("我们"), red);
    cursor.insertText(QStringLiteral("学习"), blueMarked);
    cursor.insertText(QStringLiteral("好"), kai);
    cursor.insertText(QStringLiteral("ab"), QTextCharFormat());

    QBuffer file;
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(writeRtf(doc, file));
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QTextDocument copy;
    copy.setPlainText(QStringLiteral("earlier text"));
    EXPECT_FALSE(readRtf(file, copy));
    EXPECT_EQ(copy.toPlainText(), QStringLiteral("我们学习好ab"));
    EXPECT_EQ(rtfTextFromDocument(copy), rtfTextFromDocument(doc));
    EXPECT_EQ(describe(rtfTextFromDocument(copy)),
              (QStringList{"我们:#ff0000", "学习:#0000ff u", "好:#ff0000 F=楷体_GB2312", "ab:"}));
}

TEST(Rtf, TheDialectsOfOtherWritersAreRead) {
    struct Case {
        const char *file;
        QString text;
        QStringList runs;
    } const cases[] = {
        // The Windows rich-text control: code page 936 bytes, \fcharset134 fonts, a
        // character outside GBK as a surrogate pair of \u, a NUL after the end.
        {"richedit.rtf",
         QStringLiteral("我们学习好文化，“ab1”。𠀀"),
         {"我们:#ff0000 S=24", "学习:#0000ff u S=24", "好:b S=24", "文化:i F=楷体_GB2312 S=24",
          "，“:S=24", "ab1:F=Calibri S=24", "”。𠀀:S=24"}},
        // LibreOffice Writer: \u with \'hh fallbacks, a large style sheet, \ab for bold
        // Chinese, its own destinations.
        {"libreoffice.rtf",
         QStringLiteral("我们学习好文化，“ab1”。"),
         {"我们:#ff0000", "学习:#0000ff u", "好:b", "文化:i", "，“ab1”。:"}},
        // pandoc: \u with ? and " fallbacks, formats in groups.
        {"pandoc.rtf",
         QStringLiteral("我们学习好文化，“ab1”。"),
         {"我们:", "学习:b", "好:", "文化:i", "，“ab1”。:"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.file);
        RtfError error;
        const auto t = readRtf(fixture(c.file), &error);
        ASSERT_TRUE(t) << describeRtfError(error).toStdString();
        EXPECT_EQ(t->text, c.text);
        EXPECT_EQ(describe(*t), c.runs);
    }
}

TEST(Rtf, TheReaderTakesWhatRtfAllows) {
    struct Case {
        const char *name;
        QByteArray rtf;
        QString text;
    } const cases[] = {
        {"paragraph_and_line_ends_are_no_text",
         "{\\rtf1 a\\par b\\line c\\sect\\page d\r\ne\\\r\nf\\par}", "abcdef"},
        // A text document drops U+FDD0 and U+FDD1 (its marks of a frame's start and end).
        {"marks_that_a_document_keeps_for_itself_are_no_text", "{\\rtf1 a\\u-560?b\\u-559?c}",
         "abc"},
        {"unicode_fallbacks_of_other_lengths",
         "{\\rtf1\\uc2 \\u25105\\'ce\\'d2x{\\uc0 \\u20204 y}\\u23398\\'d1}", "我x们y学"},
        {"a_fallback_ends_with_its_group", "{\\rtf1{\\u25105}x}", "我x"},
        {"unicode_above_u7fff_either_way", "{\\rtf1 \\u65292?\\u-244?}", "，，"},
        {"unknown_and_ignorable_destinations",
         "{\\rtf1{\\*\\generator Msftedit;}{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 "
         "Normal;}}{\\*\\unknown z}\\unknownword a{\\header h}b}",
         "ab"},
        {"a_field_gives_its_result",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt \\u38142?}}}", "链"},
        {"symbols_of_control_words",
         "{\\rtf1\\tab\\ldblquote\\rdblquote\\lquote\\rquote\\emdash\\endash\\~\\-\\_}",
         "\t“”‘’—–\u00a0\u2011"},
        {"bytes_in_the_fonts_code_page",
         "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset134 "
         "S;}{\\f2\\fcharset136 B;}}\\f0\\'e9\\f1\\'ce\\'d2\\f2\\'a7\\'da\\f9\\'c4\\'e3}",
         "é我我你"},
        {"big5_document_code_page", "{\\rtf1\\ansi\\ansicpg950 \\'a7\\'da}", "我"},
        {"binary_data_is_skipped", "{\\rtf1 a\\bin3 \x01{}c}", "ac"},
        {"white_space_and_nul_after_the_end", QByteArray("{\\rtf1 a}\r\n \0\0", 14), "a"},
        {"ascii_letters_of_a_broken_byte", "{\\rtf1 a\\'zzb}", "ab"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RtfError error;
        const auto t = readRtf(c.rtf, &error);
        ASSERT_TRUE(t) << describeRtfError(error).toStdString();
        EXPECT_EQ(t->text, c.text);
    }
}

TEST(Rtf, FormattingFollowsGroupsAndPlain) {
    const auto t = read("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                        "\\cf1\\b a{\\cf2\\b0\\ul b\\ulnone c}d\\plain e\\cf9 f\\ul\\ulc2 g"
                        "\\ul0 h\\uldb i}");
    ASSERT_TRUE(t);
    EXPECT_EQ(describe(*t), (QStringList{"a:#ff0000 b", "b:#0000ff u", "c:#0000ff", "d:#ff0000 b",
                                         "ef:", "g:u", "h:", "i:u"}));
}

TEST(Rtf, DamagedFilesGiveAnErrorAndNoText) {
    using Kind = RtfError::Kind;
    const QByteArray deep = "{\\rtf1 " + QByteArray(kRtfMaxDepth, '{');
    QByteArray manyGroups = "{\\rtf1 ";
    for (int i = 0; i < kRtfMaxGroups; ++i)
        manyGroups += "{}";
    manyGroups += '}';
    struct Case {
        const char *name;
        QByteArray rtf;
        Kind kind;
        qint64 offset; // -1: not checked
    } const cases[] = {
        {"empty", "", Kind::Empty, 0},
        {"plain_text", "hello", Kind::NotRtf, 0},
        {"a_group_but_no_rtf", "{\\pard x}", Kind::NotRtf, 0},
        {"truncated_in_a_group", "{\\rtf1 abc", Kind::Truncated, 10},
        {"truncated_after_a_backslash", "{\\rtf1 abc\\", Kind::Truncated, 10},
        {"truncated_in_a_control_word", "{\\rtf1 abc\\par", Kind::Truncated, 10},
        {"truncated_in_a_byte", "{\\rtf1 \\'c", Kind::Truncated, 7},
        {"truncated_binary_data", "{\\rtf1 \\bin10 abc}", Kind::Truncated, 7},
        {"a_closing_brace_too_many", "{\\rtf1 a}}", Kind::Unbalanced, 9},
        {"text_after_the_end", "{\\rtf1 a} b", Kind::Unbalanced, 10},
        {"too_deep", deep + "}", Kind::TooDeep, -1},
        {"too_many_groups", manyGroups, Kind::TooManyGroups, -1},
        {"a_huge_number", "{\\rtf1 \\fs99999999999 a}", Kind::NumberTooLarge, 7},
        {"a_number_just_beyond_32_bits", "{\\rtf1 \\u2147483648 a}", Kind::NumberTooLarge, 7},
        {"a_control_word_of_33_letters", "{\\rtf1 \\" + QByteArray(33, 'a') + " x}",
         Kind::BadControlWord, 7},
        {"too_much_text", "{\\rtf1 " + QByteArray(kRtfMaxCharacters + 1, 'a') + "}",
         Kind::TooMuchText, -1},
        {"too_large", "{\\rtf1 " + QByteArray(kRtfMaxBytes, ' ') + "}", Kind::TooLarge, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RtfError error;
        const auto t = readRtf(c.rtf, &error);
        ASSERT_FALSE(t) << t->text.left(20).toStdString();
        EXPECT_EQ(error.kind, c.kind) << describeRtfError(error).toStdString();
        if (c.offset >= 0) {
            EXPECT_EQ(error.offset, c.offset);
        }
    }
    // A number at the very limit is no error.
    EXPECT_TRUE(read("{\\rtf1 \\fs2147483647 \\li-2147483648 a}"));
    EXPECT_TRUE(read("{\\rtf1 " + QByteArray(kRtfMaxDepth - 1, '{') +
                     QByteArray(kRtfMaxDepth - 1, '}') + "}"));
}

TEST(Rtf, ADamagedFileLeavesTheDocumentAsItWas) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("我们"));
    QBuffer truncated;
    truncated.setData("{\\rtf1 \\u23398?");
    ASSERT_TRUE(truncated.open(QIODevice::ReadOnly));
    const auto error = readRtf(truncated, doc);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, RtfError::Kind::Truncated);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("我们"));

    QBuffer closed;
    const auto unreadable = readRtf(closed, doc);
    ASSERT_TRUE(unreadable);
    EXPECT_EQ(unreadable->kind, RtfError::Kind::Unreadable);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("我们"));
}

TEST(Rtf, ErrorsAreToldWithTheirPlace) {
    EXPECT_EQ(describeRtfError({RtfError::Kind::Truncated, 122}),
              QStringLiteral("RTF文件不完整（第123字节）"));
    EXPECT_EQ(describeRtfError({RtfError::Kind::NotRtf, 0}), QStringLiteral("不是RTF文件"));
}

} // namespace
} // namespace coding
