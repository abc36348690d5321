// The fewest keys: a small code database where the cheapest split is not the
// greedy one, and the program's own data, where the fewest keys are never more than
// any of the four ways of the keystroke dialogs.

#include "stats/keyplan.h"
#include "stats/keystrokes.h"
#include "textanalysis.h"

#include "coding/marviklibrary.h"
#include "fixturedatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace {

using stats::PlanItem;
using Kind = stats::PlanItem::Kind;
namespace fixture = coding::fixture;

class KeyPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        fixture::CodeRows rows;
        rows.jtzi = {{QStringLiteral("甲"), QStringLiteral("1234")},
                     {QStringLiteral("乙"), QStringLiteral("2234")},
                     {QStringLiteral("丙"), QStringLiteral("3234")},
                     {QStringLiteral("丁"), QStringLiteral("4234"), QStringLiteral("4")},
                     {QStringLiteral("𠀀"), QStringLiteral("5234")}};
        // By the first digit of the first character's standard code.
        rows.jtci[1] = {{QStringLiteral("甲乙"), QStringLiteral("123422")}};
        rows.jtci[2] = {{QStringLiteral("乙丙"), QStringLiteral("22")}};
        rows.jtci[3] = {{QStringLiteral("丙丁"), QStringLiteral("3"), QStringLiteral(" ")}};
        rows.jtci[5] = {{QStringLiteral("𠀀甲"), QStringLiteral("56")}};
        ASSERT_EQ(fixture::writeCodeDatabase(path, rows), QString());
        ASSERT_TRUE(db.open(path));
    }
    std::optional<stats::KeyPlan> plan(const QString &text, const QString &tags) {
        QString error;
        auto p = stats::planFewestKeys(db, text, tags, &error);
        EXPECT_TRUE(p) << error.toStdString();
        return p;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("jtdb.dat"));
    coding::CodeDatabase db;
};

TEST_F(KeyPlanTest, TheCheapestSplitIsFoundNotTheGreedyOne) {
    // 甲乙 丙, the longest word first, costs 8 + 6; 甲 乙丙 only 6 + 4.
    const auto p = plan(QStringLiteral("甲乙丙"), QStringLiteral("001"));
    ASSERT_TRUE(p);
    EXPECT_EQ(stats::formatPlan(*p), QStringLiteral("甲(1234) 乙丙(22)"));
    EXPECT_EQ(p->total, 10);
}

TEST_F(KeyPlanTest, EveryKindOfItemHasItsCost) {
    // 甲 乙丙 | ， | 丁 by its short code | ab | 戊 without a code | 𠀀甲, a pair first.
    const QString text = QStringLiteral("甲乙丙，丁ab戊𠀀甲");
    const QString tags = QStringLiteral("0012044") + QStringLiteral("1") + QStringLiteral("000");
    const auto p = plan(text, tags);
    ASSERT_TRUE(p);
    const QList<PlanItem> expected{
        {0, QStringLiteral("甲"), QStringLiteral("1234"), 6, Kind::Character},
        {1, QStringLiteral("乙丙"), QStringLiteral("22"), 4, Kind::Word},
        {3, QStringLiteral("，"), QString(), 1, Kind::Punctuation},
        {4, QStringLiteral("丁"), QStringLiteral("4"), 3, Kind::Character},
        {5, QStringLiteral("ab"), QString(), 2, Kind::AlphaNum},
        {7, QStringLiteral("戊"), QString(), 1, Kind::NoCode},
        {8, QStringLiteral("𠀀甲"), QStringLiteral("56"), 4, Kind::Word}};
    EXPECT_EQ(p->items, expected);
    EXPECT_EQ(p->total, 21);
    EXPECT_EQ(p->charKeys, 4 + 1 + 1);
    EXPECT_EQ(p->wordKeys, 2 + 2);
    EXPECT_EQ(p->punctKeys, 1);
    EXPECT_EQ(p->funcKeys, 8);
    EXPECT_EQ(p->alphaKeys, 2);
    EXPECT_EQ(p->total, p->charKeys + p->wordKeys + p->punctKeys + p->funcKeys + p->alphaKeys);
}

TEST_F(KeyPlanTest, AWordNeverCrossesPunctuationAndAnEmptyTextCostsNothing) {
    // 丙丁 would cost 3 but a comma stands between them.
    const auto p = plan(QStringLiteral("丙，丁"), QStringLiteral("020"));
    ASSERT_TRUE(p);
    EXPECT_EQ(stats::formatPlan(*p), QStringLiteral("丙(3234) ， 丁(4)"));
    EXPECT_EQ(plan(QString(), QString())->total, 0);
}

TEST_F(KeyPlanTest, TheShortcutsATestMissed) {
    // The best way: 甲乙(123422) 丙丁(3), 8 + 3 keys.
    const QString text = QStringLiteral("甲乙丙丁");
    const auto p = plan(text, QStringLiteral("0000"));
    ASSERT_TRUE(p);
    ASSERT_EQ(stats::formatPlan(*p), QStringLiteral("甲乙(123422) 丙丁(3)"));
    const auto fewest = [this](const QString &part) { return stats::fewestKeysOf(db, part); };
    using Kind = stats::MissedShortcut::Kind;
    struct Case {
        const char *name;
        QList<coding::TypedInput> inputs;
        QList<stats::MissedShortcut> missed;
    } const cases[] = {
        {"the word in characters, the other with a longer code",
         {{0, 1, 5}, {1, 1, 5}, {2, 2, 4}},
         {{0, QStringLiteral("甲乙"), QStringLiteral("甲 | 乙"), QStringLiteral("123422"), 12 - 8,
           Kind::InParts},
          {2, QStringLiteral("丙丁"), QStringLiteral("丙丁"), QStringLiteral("3"), 1,
           Kind::LongerCode}}},
        {"the best way itself", {{0, 2, 8}, {2, 2, 3}}, {}},
        // 乙丙 typed as a word: the inputs cross the best way's items.
        {"another split", {{0, 1, 6}, {1, 2, 4}, {3, 1, 3}}, {}},
        // 甲 and 乙 typed, then typed again as the word: the last typing counts.
        {"typed again", {{0, 1, 5}, {1, 1, 5}, {0, 2, 8}, {2, 2, 3}}, {}},
        // The test ended before 丙丁.
        {"not typed",
         {{0, 1, 5}, {1, 1, 5}},
         {{0, QStringLiteral("甲乙"), QStringLiteral("甲 | 乙"), QStringLiteral("123422"), 4,
           Kind::InParts}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(stats::findMissedShortcuts(*p, text, c.inputs, fewest), c.missed);
    }
}

TEST_F(KeyPlanTest, ADatabaseThatFailsIsAnError) {
    coding::CodeDatabase closed;
    QString error;
    EXPECT_FALSE(stats::planFewestKeys(closed, QStringLiteral("甲"), QStringLiteral("0"), &error));
}

// The program's own code database and library over a few sentences: the best way is
// never dearer than any of the four ways, and its parts add up.
TEST(KeyPlanOnTheProgramsData, NeverMoreThanAnyOfTheFourWays) {
    const QString appDir = qEnvironmentVariable("TREVIX_TEST_APP_DIR");
    if (appDir.isEmpty() || !QDir(appDir).exists(QStringLiteral("jtdb.dat")))
        GTEST_SKIP() << "no application directory with jtdb.dat";
    QTemporaryDir custom;
    coding::AppState state(coding::AppDirectory::at(appDir),
                           std::make_unique<coding::MarvikLibrary>(
                               appDir, custom.filePath(QStringLiteral("custom.dic"))));
    const QStringList texts{
        QStringLiteral("我们学习分词输入，每天练习一篇文章。"),
        QStringLiteral("春天来了，山上的花都开了，小鸟在树上唱歌。中华人民共和国成立了。"),
        QStringLiteral("计算机科学与技术是一门研究信息处理的学科，它的发展非常迅速。")};
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        QString error;
        const auto analysis = stats::analyseText(state, text, {}, &error);
        ASSERT_TRUE(analysis) << error.toStdString();
        const auto p = stats::planFewestKeys(state.codeDatabase, state.text.text,
                                             state.text.SegmentTags, &error);
        ASSERT_TRUE(p) << error.toStdString();
        for (int way : {stats::CharStdTotal, stats::CharShortTotal, stats::WordStdTotal,
                        stats::WordShortTotal})
            EXPECT_LE(p->total, analysis->TextKeyCounts[size_t(way)]) << way;
        EXPECT_EQ(p->total, p->charKeys + p->wordKeys + p->punctKeys + p->funcKeys + p->alphaKeys);
        QString joined;
        for (const PlanItem &item : p->items)
            joined += item.text;
        EXPECT_EQ(joined, state.text.text);
    }
}

} // namespace
