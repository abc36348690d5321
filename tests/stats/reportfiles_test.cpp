// The files of the test window's figures: the word list (*.fcr) and the
// statistics report, line by line and as bytes, and writing them whole.
#include "stats/reportfiles.h"

#include "coding/appstate.h"
#include "support/fakelibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

namespace {

coding::TextTables tables() {
    coding::TextTables t;
    t.WordTable[0] = {{QStringLiteral("好"), 2, QStringLiteral("47447"), QStringLiteral("474")}};
    t.WordTable[1] = {{QStringLiteral("学习"), 3, QStringLiteral("324171"), QStringLiteral("3241")},
                      {QStringLiteral("我们"), 1, QStringLiteral("235272"), QString()}};
    t.WordTable[4] = {{QStringLiteral("中华人民共和国"), 1, QString(), QString()}};
    return t;
}

TEST(WordList, OneQuotedWordPerLineByLengthClass) {
    // No word of three or four characters: no such lines.
    EXPECT_EQ(stats::wordListLines(tables()),
              (QStringList{"\"好\"", "\"学习\"", "\"我们\"", "\"中华人民共和国\""}));
    EXPECT_TRUE(stats::wordListLines(coding::TextTables{}).isEmpty());
    EXPECT_TRUE(stats::fileBytes({}).isEmpty());
}

TEST(FileBytes, Gb18030WithCrLf) {
    EXPECT_EQ(stats::fileBytes({QStringLiteral("\"学习\""), QString()}),
              QByteArray("\"\xD1\xA7\xCF\xB0\"\r\n\r\n"));
    // Outside GBK, GB18030 still keeps the character.
    const QString rare = QString::fromUcs4(U"\U00020000");
    const QString decoded = QStringDecoder("GB18030").decode(stats::fileBytes({rare}));
    EXPECT_EQ(decoded, rare + QStringLiteral("\r\n"));
}

TEST(Duration, HoursMinutesSeconds) {
    const struct {
        qint64 ms;
        const char *text;
    } cases[] = {{0, "0:00:00"},         {999, "0:00:00"},         {61'000, "0:01:01"},
                 {3'725'999, "1:02:05"}, {90'000'000, "25:00:00"}, {-5, "0:00:00"}};
    for (const auto &c : cases)
        EXPECT_EQ(stats::durationText(c.ms), QString::fromLatin1(c.text)) << c.ms;
}

class Report : public ::testing::Test {
protected:
    Report() {
        state.text.HzCount = 10;
        state.text.SymCount = 2;
        state.text.AlphaCount = 3;
        state.test.TestDuration = 83'000;
        state.derived.result = coding::ResultTexts{
            QStringLiteral("95.00%"), QStringLiteral("40字/分"), QStringLiteral("38字/分")};
        coding::TextTables t;
        t.WordTable[1] = {
            {QStringLiteral("学习"), 3, QStringLiteral("324171"), QStringLiteral("3241")},
            {QStringLiteral("我们"), 1, QStringLiteral("235272"), QString()}};
        state.derived.textTables = t;
        coding::LearnerFigures learner;
        learner.UserCharTotal = 12;
        learner.UserWordLenCounts = {1, 2, 3, 4, 5};
        learner.UserKeyTotal = 30;
        learner.UserAvgKeys = 2.5;
        state.derived.learner = learner;
    }
    QTemporaryDir dir;
    coding::AppState state{coding::AppDirectory::at(dir.path()),
                           std::make_unique<coding::FakeLibrary>()};
};

const QString kStars = QString(38, QLatin1Char('*'));

QStringList basicAndTextLines() {
    return {QStringLiteral("以下是关于文本和用户技术的基本信息："),
            QString(),
            kStars,
            QStringLiteral("文本中的总字数：15"),
            QStringLiteral("文本中的汉字数：10"),
            QStringLiteral("文本中的标点符号数：2"),
            QStringLiteral("文本中的字母数字数：3"),
            QStringLiteral("用户所用时间：0:01:23"),
            QStringLiteral("正确率：95.00%"),
            QStringLiteral("输入速度：40字/分"),
            QStringLiteral("有效速度：38字/分"),
            kStars,
            QString(),
            QStringLiteral("以下是关于文本的详细信息："),
            QString(),
            QStringLiteral("文本中包含的文字信息："),
            kStars,
            QStringLiteral("     文字     次数     标准码     简码"),
            QStringLiteral("     学习       3      324171       3241"),
            QStringLiteral("     我们       1      235272       "),
            kStars,
            QString()};
}

QStringList learnerLines(const char *avgKeys) {
    return {QStringLiteral("以下是关于用户技术的详细信息："),
            QString(),
            kStars,
            QStringLiteral("用户输入的总字数：12"),
            QStringLiteral("用户输入的单字个数：1"),
            QStringLiteral("用户输入的二字词个数：2"),
            QStringLiteral("用户输入的三字词个数：3"),
            QStringLiteral("用户输入的四字词个数：4"),
            QStringLiteral("用户输入的多字词个数：5"),
            QStringLiteral("用户输入时的总击键数：30"),
            QStringLiteral("用户输入时的平均击键数/字：") + QString::fromLatin1(avgKeys),
            kStars,
            QString()};
}

TEST_F(Report, AfterTheResultDialogOnlyHasNoKeystrokeBlocks) {
    EXPECT_EQ(stats::statisticsReportLines(state), basicAndTextLines() + learnerLines("2.5"));
}

TEST_F(Report, KeystrokeBlocksComeWhenTheirDialogsHaveRun) {
    coding::KeyCounts text{}, user{};
    for (size_t i = 0; i < 24; ++i) {
        text[i] = int(100 + i);
        user[i] = int(200 + i);
    }
    state.derived.textKeys = text;
    state.derived.userKeys = user;
    state.derived.learner->UserAvgKeys = 1.0 / 3;
    const QStringList lines = stats::statisticsReportLines(state);

    const auto block = [](const QString &title, int base) {
        QStringList b{title, kStars};
        b << QStringLiteral("单字标准码输入时的总键数：%1").arg(base + 0)
          << QStringLiteral("单字标准码输入时的字键数：%1").arg(base + 1)
          << QStringLiteral("单字标准码输入时的标点键数：%1").arg(base + 2)
          << QStringLiteral("单字标准码输入时的字母数字数：%1").arg(base + 20)
          << QStringLiteral("单字标准码输入时的功能键数：%1").arg(base + 3) << QString()
          << QStringLiteral("单字简码输入时的总键数：%1").arg(base + 4)
          << QStringLiteral("单字简码输入时的标准码键数：%1").arg(base + 5)
          << QStringLiteral("单字简码输入时的简码键数：%1").arg(base + 6)
          << QStringLiteral("单字简码输入时的标点键数：%1").arg(base + 7)
          << QStringLiteral("单字简码输入时的字母数字数：%1").arg(base + 21)
          << QStringLiteral("单字简码输入时的功能键数：%1").arg(base + 8) << QString()
          << QStringLiteral("词组标准码输入时的总键数：%1").arg(base + 9)
          << QStringLiteral("词组标准码输入时的字键数：%1").arg(base + 10)
          << QStringLiteral("词组标准码输入时的词键数：%1").arg(base + 11)
          << QStringLiteral("词组标准码输入时的标点键数：%1").arg(base + 12)
          << QStringLiteral("词组标准码输入时的字母数字数：%1").arg(base + 22)
          << QStringLiteral("词组标准码输入时的功能键数：%1").arg(base + 13) << QString()
          << QStringLiteral("词组简码输入时的总键数：%1").arg(base + 14)
          << QStringLiteral("词组简码输入时的标准码键数：%1").arg(base + 15)
          << QStringLiteral("词组简码输入时的字简码键数：%1").arg(base + 16)
          << QStringLiteral("词组简码输入时的词简码键数：%1").arg(base + 17)
          << QStringLiteral("词组简码输入时的标点键数：%1").arg(base + 18)
          << QStringLiteral("词组简码输入时的字母数字数：%1").arg(base + 23)
          << QStringLiteral("词组简码输入时的功能键数：%1").arg(base + 19);
        b << kStars << QString();
        return b;
    };
    EXPECT_EQ(lines, basicAndTextLines() + block(QStringLiteral("关于全部文本的键数信息："), 100) +
                         learnerLines("0.333333333333333") +
                         block(QStringLiteral("以下是关于用户所输入的文本的键数信息："), 200));
}

TEST_F(Report, WithNothingComputedShowsWhatTheWindowsShowBefore) {
    state.derived = coding::DerivedStats{};
    state.test = coding::TestRecord{};
    const QStringList lines = stats::statisticsReportLines(state);
    EXPECT_EQ(lines[7], QStringLiteral("用户所用时间：0:00:00"));
    EXPECT_EQ(lines[8], QStringLiteral("正确率："));
    EXPECT_EQ(lines[18], kStars); // no word lines
    EXPECT_EQ(lines[30], QStringLiteral("用户输入时的平均击键数/字：0"));
    EXPECT_EQ(lines.size(), 18 + 2 + 13);
}

TEST(SaveWholeFile, AFailedSaveLeavesTheEarlierFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("报告.txt"));
    QString why;
    // A folder that does not exist.
    EXPECT_FALSE(stats::saveWholeFile(dir.filePath(QStringLiteral("无/a.txt")), "x", &why));
    EXPECT_TRUE(why.contains(QStringLiteral("a.txt"))) << why.toStdString();
    ASSERT_TRUE(stats::saveWholeFile(path, "first", &why));
    // The folder is not writable: the new file cannot be made beside the old one.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool saved = stats::saveWholeFile(path, "second", &why);
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (saved)
        GTEST_SKIP() << "the folder stays writable (running as root)";
    EXPECT_TRUE(why.contains(QStringLiteral("报告.txt"))) << why.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("first"));
}

} // namespace
