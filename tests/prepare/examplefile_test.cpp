// The example file pair: the companion's name and line, writing a pair whole or
// not at all, and reading a pair back with its checks.
#include "prepare/examplefile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using prepare::ExampleError;

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A coloured example: 我们 in red, 学习 blue and underlined, 。 green.
coding::RtfText example() {
    coding::RtfText t;
    t.text = QStringLiteral("我们学习。");
    coding::RtfFormat red, blue, green;
    red.color = QColor(255, 0, 0);
    blue.color = QColor(0, 0, 255);
    blue.underline = true;
    green.color = QColor(0, 128, 0);
    t.runs = {{0, 2, red}, {2, 2, blue}, {4, 1, green}};
    return t;
}

struct CompanionCase {
    const char *path, *companion;
};

class CompanionPath : public ::testing::TestWithParam<CompanionCase> {};

TEST_P(CompanionPath, EverySavOfThePathBecomesExt) {
    EXPECT_EQ(prepare::companionPath(QString::fromUtf8(GetParam().path)),
              QString::fromUtf8(GetParam().companion));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CompanionPath,
    ::testing::Values(CompanionCase{"/home/用户/例文/test.sav", "/home/用户/例文/test.ext"},
                      CompanionCase{"/home/savings/a.sav", "/home/extings/a.ext"},
                      CompanionCase{"/sav/savsav.sav", "/ext/extext.ext"},
                      // Case-sensitive: nothing of these is "sav".
                      CompanionCase{"/home/Saved/a.SAV", "/home/Saved/a.SAV"}));

struct FieldCase {
    const char *name;
    QByteArray content;
    std::optional<QString> tags;
};

class CompanionField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(CompanionField, TheQuotedFieldOfTheFirstLineIsTheTags) {
    EXPECT_EQ(prepare::parseCompanion(GetParam().content), GetParam().tags);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CompanionField,
    ::testing::Values(FieldCase{"Written", "\"0012\"\r\n", QStringLiteral("0012")},
                      FieldCase{"NoLineEnd", "\"0012\"", QStringLiteral("0012")},
                      FieldCase{"LinuxLineEnd", "\"0012\"\nrest", QStringLiteral("0012")},
                      FieldCase{"Blanks", "  \"0012\" ,\"99\"\r\n", QStringLiteral("0012")},
                      FieldCase{"Unquoted", "0012 ,5\r\n", QStringLiteral("0012")},
                      FieldCase{"ByteOrderMark", "\xEF\xBB\xBF\"01\"\r\n", QStringLiteral("01")},
                      FieldCase{"Empty", "", QString()},
                      FieldCase{"UnclosedQuote", "\"0012\r\n", std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

class ExampleFiles : public ::testing::Test {
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(ExampleFiles, APairReadsBackAsItWasWritten) {
    const QString main = path(QStringLiteral("例文.sav"));
    ExampleError error;
    ASSERT_TRUE(prepare::writeExample(main, example(), QStringLiteral("00112"), &error))
        << prepare::exampleErrorMessage(error).toStdString();
    EXPECT_EQ(readAll(path(QStringLiteral("例文.ext"))), QByteArray("\"00112\"\r\n"));
    EXPECT_TRUE(readAll(main).startsWith("{\\rtf1\\ansi\\ansicpg936"));

    const auto read = prepare::readExample(main, &error);
    ASSERT_TRUE(read) << prepare::exampleErrorMessage(error).toStdString();
    EXPECT_EQ(read->text, example());
    EXPECT_EQ(read->tags, QStringLiteral("00112"));
}

TEST_F(ExampleFiles, SavingAgainReplacesBothFiles) {
    const QString main = path(QStringLiteral("a.sav"));
    ASSERT_TRUE(prepare::writeExample(main, example(), QStringLiteral("00112"), nullptr));
    coding::RtfText shorter;
    shorter.text = QStringLiteral("学习");
    shorter.runs = {{0, 2, {}}};
    ASSERT_TRUE(prepare::writeExample(main, shorter, QStringLiteral("00"), nullptr));
    const auto read = prepare::readExample(main, nullptr);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text.text, QStringLiteral("学习"));
    EXPECT_EQ(read->tags, QStringLiteral("00"));
}

TEST_F(ExampleFiles, AFailedSaveLeavesNoHalfPair) {
    // The companion's directory does not exist: "savings" becomes "extings".
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("savings")));
    const QString main = path(QStringLiteral("savings/a.sav"));
    ExampleError error;
    EXPECT_FALSE(prepare::writeExample(main, example(), QStringLiteral("00112"), &error));
    EXPECT_EQ(error.kind, ExampleError::Kind::NotWritten);
    EXPECT_TRUE(prepare::exampleErrorMessage(error).contains(QStringLiteral("extings")));
    EXPECT_FALSE(QFile::exists(main));

    // An earlier main file stays as it was.
    writeFile(main, "earlier");
    EXPECT_FALSE(prepare::writeExample(main, example(), QStringLiteral("00112"), &error));
    EXPECT_EQ(readAll(main), QByteArray("earlier"));
}

TEST_F(ExampleFiles, SavingRefusesWhatWouldNotReadBack) {
    ExampleError error;
    // Without "sav" in the name the companion would be the main file.
    const QString noSav = path(QStringLiteral("a.txt"));
    EXPECT_FALSE(prepare::writeExample(noSav, example(), QStringLiteral("00112"), &error));
    EXPECT_EQ(error.kind, ExampleError::Kind::SameFile);
    EXPECT_FALSE(QFile::exists(noSav));
    // Tags that do not fit the text.
    const QString main = path(QStringLiteral("a.sav"));
    EXPECT_FALSE(prepare::writeExample(main, example(), QStringLiteral("001"), &error));
    EXPECT_EQ(error.kind, ExampleError::Kind::TagCountMismatch);
    EXPECT_FALSE(QFile::exists(main));
}

struct DamagedCase {
    const char *name;
    QByteArray main;      // empty: the writer's example
    QByteArray companion; // empty: no companion file
    ExampleError::Kind kind;
    const char16_t *message; // a part of the message
};

class DamagedPair : public ExampleFiles, public ::testing::WithParamInterface<DamagedCase> {};

TEST_P(DamagedPair, IsRefusedWithItsReason) {
    const DamagedCase &c = GetParam();
    const QString main = path(QStringLiteral("a.sav"));
    writeFile(main, c.main.isEmpty() ? coding::writeRtf(example()) : c.main);
    if (!c.companion.isEmpty())
        writeFile(path(QStringLiteral("a.ext")), c.companion);
    ExampleError error;
    EXPECT_FALSE(prepare::readExample(main, &error));
    EXPECT_EQ(error.kind, c.kind);
    EXPECT_TRUE(prepare::exampleErrorMessage(error).contains(QString::fromUtf16(c.message)))
        << prepare::exampleErrorMessage(error).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, DamagedPair,
    ::testing::Values(
        DamagedCase{"NoCompanion",
                    {},
                    {},
                    ExampleError::Kind::CompanionMissing,
                    u"辅助文件不存在，不能打开此文件！"},
        DamagedCase{"TooFewTags",
                    {},
                    "\"0011\"\r\n",
                    ExampleError::Kind::TagCountMismatch,
                    u"例文有5个字符，辅助文件有4个分词标记"},
        DamagedCase{"TooManyTags",
                    {},
                    "\"001122\"\r\n",
                    ExampleError::Kind::TagCountMismatch,
                    u"辅助文件有6个分词标记"},
        DamagedCase{
            "UnknownTag", {}, "\"001x2\"\r\n", ExampleError::Kind::BadTag, u"第4个分词标记“x”无效"},
        // A separator tag belongs to a blank only.
        DamagedCase{"SeparatorOnACharacter",
                    {},
                    "\"00312\"\r\n",
                    ExampleError::Kind::BadTag,
                    u"第3个分词标记“3”无效"},
        DamagedCase{"UnclosedQuote",
                    {},
                    "\"00112\r\n",
                    ExampleError::Kind::CompanionDamaged,
                    u"辅助文件已损坏"},
        DamagedCase{"NotRtf", "plain text", "\"00112\"\r\n", ExampleError::Kind::MainDamaged,
                    u"不是有效的分词例文"},
        DamagedCase{"TruncatedRtf", "{\\rtf1\\ansi abc", "\"000\"\r\n",
                    ExampleError::Kind::MainDamaged, u"不是有效的分词例文"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ExampleFiles, ASeparatorTagOnABlankIsAllowed) {
    coding::RtfText spaced;
    spaced.text = QStringLiteral("我们 学习");
    spaced.runs = {{0, 5, {}}};
    const QString main = path(QStringLiteral("a.sav"));
    writeFile(main, coding::writeRtf(spaced));
    writeFile(path(QStringLiteral("a.ext")), "\"00311\"\r\n");
    const auto read = prepare::readExample(main, nullptr);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->tags, QStringLiteral("00311"));
}

} // namespace
