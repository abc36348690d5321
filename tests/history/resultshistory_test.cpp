// The results history on a temporary file with the real SQLite: recording and
// reading back, moving an older schema forward, a damaged file, a newer one, a
// file that cannot be written; and what the history window derives from it.

#include "history/historyfigures.h"
#include "history/resultshistory.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

namespace {

using history::Mistake;
using history::ResultsHistory;
using history::TestDetail;
using history::TestEntry;

TestDetail makeTest(const QString &text, qint64 endedMs, double speed,
                    QList<Mistake> mistakes = {}) {
    TestDetail d;
    d.text = text;
    d.tags = QString(text.size(), QLatin1Char('0'));
    d.mistakes = std::move(mistakes);
    TestEntry &e = d.entry;
    e.endedAt = QDateTime::fromMSecsSinceEpoch(endedMs, Qt::UTC);
    e.textHash = history::textHash(text);
    e.textHead = history::textHead(text);
    e.durationMs = 61500;
    e.total = int(text.size());
    e.rightCount = e.total - int(d.mistakes.size());
    e.wrongCount = int(d.mistakes.size());
    e.accuracy = 95.5;
    e.speed = speed;
    e.effSpeed = speed - 2;
    e.keyPresses = 3 * e.total;
    e.keysPerChar = 3;
    e.bestKeysPerChar = 2.25;
    e.bursts = {1, 2, 3, 4, 5};
    return d;
}

void execSql(const QString &path, const QStringList &statements) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("raw"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString &statement : statements) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("raw"));
}

QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class HistoryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("data/history.sqlite"));
};

TEST_F(HistoryTest, ATestIsReadBackWithItsTextAndMistakes) {
    ResultsHistory h(path);
    TestDetail older = makeTest(QStringLiteral("我们学习"), 1000, 40,
                                {{1, QStringLiteral("们"), QStringLiteral("门")}});
    older.inputs = {{0, 1, 3}, {1, 1, 4}, {2, 2, 5}};
    TestDetail newer = makeTest(QStringLiteral("一二三"), 2000, 50);
    QString error;
    ASSERT_TRUE(h.record(older, &error)) << error.toStdString();
    ASSERT_TRUE(h.record(newer, &error));
    EXPECT_GT(newer.entry.id, older.entry.id);
    EXPECT_EQ(h.schemaVersion(), history::kSchemaVersion);

    const auto entries = h.entries(&error);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2);
    EXPECT_EQ(entries->at(0).id, newer.entry.id); // the newest first
    const TestEntry &e = entries->at(1);
    EXPECT_EQ(e.endedAt, older.entry.endedAt);
    EXPECT_EQ(e.textHead, QStringLiteral("我们学习"));
    EXPECT_EQ(e.textHash, history::textHash(QStringLiteral("我们学习")));
    EXPECT_EQ(e.durationMs, 61500);
    EXPECT_EQ(e.rightCount, 3);
    EXPECT_EQ(e.wrongCount, 1);
    EXPECT_DOUBLE_EQ(e.accuracy, 95.5);
    EXPECT_DOUBLE_EQ(e.speed, 40);
    EXPECT_DOUBLE_EQ(e.effSpeed, 38);
    EXPECT_EQ(e.keyPresses, 12);
    EXPECT_EQ(e.bursts, (std::array<int, 5>{1, 2, 3, 4, 5}));
    EXPECT_DOUBLE_EQ(e.bestKeysPerChar, 2.25);

    const auto detail = h.detail(older.entry.id, &error);
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->text, QStringLiteral("我们学习"));
    EXPECT_EQ(detail->tags, QStringLiteral("0000"));
    EXPECT_EQ(detail->mistakes, older.mistakes);
    EXPECT_EQ(detail->inputs, older.inputs);
    EXPECT_FALSE(h.detail(9999, &error));
}

TEST_F(HistoryTest, ATestRemovedOutsideTheProgramLeavesNothingToTheNextTest) {
    QString error;
    {
        ResultsHistory h(path);
        TestDetail first = makeTest(QStringLiteral("我们学习"), 1000, 40,
                                    {{1, QStringLiteral("们"), QStringLiteral("门")}});
        first.inputs = {{0, 1, 3}};
        ASSERT_TRUE(h.record(first, &error)) << error.toStdString();
    }
    // Another tool deletes the test without its mistakes and inputs; SQLite gives its
    // id to the next test.
    execSql(path, {QStringLiteral("DELETE FROM tests")});
    ResultsHistory h(path);
    TestDetail next = makeTest(QStringLiteral("一二三"), 2000, 50);
    ASSERT_TRUE(h.record(next, &error)) << error.toStdString();
    const auto detail = h.detail(next.entry.id, &error);
    ASSERT_TRUE(detail);
    EXPECT_TRUE(detail->mistakes.isEmpty());
    EXPECT_TRUE(detail->inputs.isEmpty());
}

TEST_F(HistoryTest, ATextIsKeptOnceAndGoesWithItsLastTest) {
    ResultsHistory h(path);
    TestDetail a = makeTest(QStringLiteral("同一文本"), 1000, 40,
                            {{0, QStringLiteral("同"), QStringLiteral("铜")}});
    TestDetail b = makeTest(QStringLiteral("同一文本"), 2000, 45);
    QString error;
    ASSERT_TRUE(h.record(a, &error) && h.record(b, &error));
    ASSERT_TRUE(h.remove(a.entry.id, &error)) << error.toStdString();
    auto left = h.detail(b.entry.id, &error);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->text, QStringLiteral("同一文本")); // b still has it
    EXPECT_EQ(h.entries(&error)->size(), 1);
    ASSERT_TRUE(h.remove(b.entry.id, &error));
    EXPECT_TRUE(h.entries(&error)->isEmpty());
    execSql(path, {}); // still a database
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(
            QStringLiteral("SELECT (SELECT count(*) FROM texts), (SELECT count(*) FROM mistakes)"),
            db);
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), 0);
        EXPECT_EQ(q.value(1).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
}

TEST_F(HistoryTest, AFirstVersionDatabaseIsMovedForwardWithItsTests) {
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    execSql(
        path,
        {QStringLiteral(
             "CREATE TABLE tests (id INTEGER PRIMARY KEY, ended_ms INTEGER NOT NULL, "
             "text_hash TEXT NOT NULL, text_head TEXT NOT NULL, duration_ms INTEGER NOT NULL, "
             "total INTEGER NOT NULL, right_count INTEGER NOT NULL, wrong_count INTEGER NOT NULL, "
             "accuracy REAL NOT NULL, speed REAL NOT NULL, eff_speed REAL NOT NULL, "
             "key_presses INTEGER NOT NULL, keys_per_char REAL NOT NULL, bursts1 INTEGER NOT NULL, "
             "bursts2 INTEGER NOT NULL, bursts3 INTEGER NOT NULL, bursts4 INTEGER NOT NULL, "
             "bursts5 INTEGER NOT NULL)"),
         QStringLiteral("CREATE INDEX tests_by_time ON tests (ended_ms)"),
         QStringLiteral(
             "INSERT INTO tests VALUES (7, 5000, 'h', '旧的测试', 60000, 10, 9, 1, 90, 10, 9, "
             "30, 3, 1, 1, 1, 1, 1)"),
         QStringLiteral("PRAGMA user_version = 1")});
    ResultsHistory h(path);
    QString error;
    ASSERT_TRUE(h.open(&error)) << error.toStdString();
    EXPECT_EQ(h.schemaVersion(), history::kSchemaVersion);
    EXPECT_TRUE(h.takeNotice().isEmpty());
    const auto old = h.detail(7, &error);
    ASSERT_TRUE(old);
    EXPECT_EQ(old->entry.textHead, QStringLiteral("旧的测试"));
    EXPECT_TRUE(old->text.isEmpty()); // that release kept no texts
    TestDetail next =
        makeTest(QStringLiteral("新"), 6000, 30, {{0, QStringLiteral("新"), QStringLiteral("心")}});
    ASSERT_TRUE(h.record(next, &error)) << error.toStdString();
    EXPECT_EQ(h.detail(next.entry.id, &error)->mistakes.size(), 1);
}

TEST_F(HistoryTest, ADamagedFileIsSetAsideAndANewOneStarted) {
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    const QByteArray garbage = QByteArray("this is no database at all ").repeated(200);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(garbage);
    f.close();

    ResultsHistory h(path);
    TestDetail test = makeTest(QStringLiteral("文本"), 1000, 40);
    QString error;
    ASSERT_TRUE(h.record(test, &error)) << error.toStdString();
    const QString notice = h.takeNotice();
    EXPECT_TRUE(notice.contains(QStringLiteral(".damaged-"))) << notice.toStdString();
    const QStringList aside = QDir(dir.filePath(QStringLiteral("data")))
                                  .entryList({QStringLiteral("history.sqlite.damaged-*")});
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("data/") + aside.first())),
              garbage); // nothing lost
    EXPECT_EQ(h.entries(&error)->size(), 1);
    EXPECT_TRUE(h.takeNotice().isEmpty()); // told once
}

TEST_F(HistoryTest, ADatabaseOfANewerReleaseIsLeftAlone) {
    QDir().mkpath(dir.filePath(QStringLiteral("data")));
    execSql(path,
            {QStringLiteral("CREATE TABLE future (x)"), QStringLiteral("PRAGMA user_version = 9")});
    const QByteArray before = readAll(path);
    ResultsHistory h(path);
    TestDetail test = makeTest(QStringLiteral("文本"), 1000, 40);
    QString error;
    EXPECT_FALSE(h.record(test, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("较新版本"))) << error.toStdString();
    EXPECT_EQ(readAll(path), before);
}

TEST_F(HistoryTest, AFailureToRecordIsToldOnceAndNothingIsHalfWritten) {
    // A full disk: every write to /dev/full fails.
    ResultsHistory full(QStringLiteral("/dev/full"));
    coding::FakeMessages messages;
    TestDetail test = makeTest(QStringLiteral("文本"), 1000, 40);
    EXPECT_FALSE(full.recordAndTell(test, messages));
    EXPECT_FALSE(full.recordAndTell(test, messages));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.lastText().startsWith(QStringLiteral("这次测试的成绩未能记入成绩记录")))
        << messages.lastText().toStdString();

    // A folder that cannot be made: a file stands in its way.
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ResultsHistory blocked(dir.filePath(QStringLiteral("blocked/history.sqlite")));
    QString error;
    EXPECT_FALSE(blocked.record(test, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(HistoryTest, TheExportIsUtf8WithABomForSpreadsheets) {
    TestDetail a = makeTest(QStringLiteral("带,逗号\"和引号"), 1000, 40);
    const QString csv = dir.filePath(QStringLiteral("out.csv"));
    QString error;
    ASSERT_TRUE(history::exportCsv(csv, {a.entry}, &error)) << error.toStdString();
    const QByteArray bytes = readAll(csv);
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(bytes.mid(3)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3); // header, one test, the last line's end
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("时间,文本,时长(秒)")));
    EXPECT_TRUE(lines[1].contains(QStringLiteral(",\"带,逗号\"\"和引号\",61,8,")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].isEmpty());
    // A file that cannot be written: nothing there, the reason told.
    EXPECT_FALSE(
        history::exportCsv(dir.filePath(QStringLiteral("none/out.csv")), {a.entry}, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none/out.csv"))));
}

// --- What the window derives ---------------------------------------------------

TEST(HistoryFigures, TheRecordOfATestHasTheResultDialogsFigures) {
    QTemporaryDir dir;
    coding::AppState state(coding::AppDirectory::at(dir.path()), nullptr);
    state.text.text = QStringLiteral("我们学习好");
    state.text.SegmentTags = QStringLiteral("00110");
    state.test.RightCount = 4;
    state.test.ErrCount = 1;
    state.test.TestDuration = 90999; // 90 whole seconds
    state.test.KeyPressCount = 17;
    state.test.TypedWordCounts = {1, 2, 0, 0, 0};
    const QDateTime at(QDate(2026, 12, 1), QTime(8, 30));
    const TestDetail d =
        history::detailOfTest(state, {{4, QStringLiteral("好"), QStringLiteral("号")}}, at);
    EXPECT_EQ(d.entry.endedAt, at.toUTC());
    EXPECT_EQ(d.entry.total, 5);
    EXPECT_DOUBLE_EQ(d.entry.accuracy, 80);
    EXPECT_DOUBLE_EQ(d.entry.speed, 3);    // 5 in 1.5 minutes: 3.33
    EXPECT_DOUBLE_EQ(d.entry.effSpeed, 3); // 4 in 1.5 minutes: 2.67
    EXPECT_DOUBLE_EQ(d.entry.keysPerChar, 3.4);
    EXPECT_EQ(d.tags, QStringLiteral("00110"));
    EXPECT_EQ(d.mistakes.size(), 1);
    // No time, nothing typed: no figures, not a division by zero.
    state.test = {};
    const TestDetail empty = history::detailOfTest(state, {}, at);
    EXPECT_EQ(empty.entry.speed, 0);
    EXPECT_EQ(empty.entry.accuracy, 0);
}

TEST(HistoryFigures, TheChartGroupsManyTestsByDayOrWeek) {
    QList<TestEntry> entries;
    const QDateTime start(QDate(2026, 1, 5), QTime(9, 0)); // a Monday
    for (int i = 0; i < history::kMostPoints; ++i) {
        TestEntry e;
        e.endedAt = start.addSecs(60 * i).toUTC();
        e.speed = i % 2 ? 30 : 50;
        e.textHash = i % 3 ? QStringLiteral("a") : QStringLiteral("b");
        entries.append(e);
    }
    EXPECT_EQ(history::groupingFor(entries), history::Grouping::Test);
    EXPECT_EQ(history::chartPoints(entries, history::Grouping::Test).size(), history::kMostPoints);
    EXPECT_EQ(history::chartPoints(entries, history::Grouping::Test, QStringLiteral("b")).size(),
              40);

    TestEntry nextDay;
    nextDay.endedAt = start.addDays(1).toUTC();
    nextDay.speed = 70;
    entries.append(nextDay);
    EXPECT_EQ(history::groupingFor(entries), history::Grouping::Day);
    const auto days = history::chartPoints(entries, history::Grouping::Day);
    ASSERT_EQ(days.size(), 2);
    EXPECT_EQ(days[0].at, QDateTime(start.date(), QTime(0, 0)));
    EXPECT_EQ(days[0].tests, history::kMostPoints);
    EXPECT_DOUBLE_EQ(days[0].speed, 40);
    EXPECT_DOUBLE_EQ(days[1].speed, 70);

    TestEntry late;
    late.endedAt = start.addDays(200).toUTC();
    entries.append(late);
    EXPECT_EQ(history::groupingFor(entries), history::Grouping::Week);
    const auto weeks = history::chartPoints(entries, history::Grouping::Week);
    ASSERT_EQ(weeks.size(), 2);
    EXPECT_EQ(weeks[0].tests, history::kMostPoints + 1); // Monday and Tuesday, one week
    EXPECT_EQ(weeks[1].at.date().dayOfWeek(), 1);
}

TEST(HistoryFigures, BestAndAverage) {
    QList<TestEntry> entries(2);
    entries[0].speed = 40;
    entries[0].effSpeed = 38;
    entries[0].accuracy = 99;
    entries[1].speed = 60;
    entries[1].effSpeed = 50;
    entries[1].accuracy = 90;
    const auto s = history::summarize(entries);
    EXPECT_EQ(s.tests, 2);
    EXPECT_DOUBLE_EQ(s.bestSpeed, 60);
    EXPECT_DOUBLE_EQ(s.bestEffSpeed, 50);
    EXPECT_DOUBLE_EQ(s.bestAccuracy, 99);
    EXPECT_DOUBLE_EQ(s.averageSpeed, 50);
    EXPECT_DOUBLE_EQ(s.averageAccuracy, 94.5);
    EXPECT_EQ(history::summarize({}).tests, 0);
}

TEST(HistoryFigures, TheWrongItemsAreTheWordsOfTheSegmentation) {
    TestDetail d;
    d.text = QStringLiteral("我们学习，好");
    d.tags = QStringLiteral("001120");
    d.mistakes = {{1, QStringLiteral("们"), QStringLiteral("门")},
                  {4, QStringLiteral("，"), QStringLiteral(",")},
                  {5, QStringLiteral("好"), QString()}};
    const QList<history::WrongWord> expected{{0, QStringLiteral("我们"), QStringLiteral("我门")},
                                             {4, QStringLiteral("，"), QStringLiteral(",")},
                                             {5, QStringLiteral("好"), QStringLiteral("□")}};
    EXPECT_EQ(history::wrongWords(d), expected);
    d.text.clear(); // a test of a release that kept no texts
    EXPECT_TRUE(history::wrongWords(d).isEmpty());
}

TEST(HistoryFigures, TheHeadOfATextIsItsFirstCharactersOnOneLine) {
    EXPECT_EQ(history::textHead(QStringLiteral("一\n二\t三")), QStringLiteral("一 二 三"));
    EXPECT_EQ(history::textHead(QString(30, QLatin1Char('x'))).size(), 20);
    // A pair is never cut in half.
    const QString pairs = QString(19, QLatin1Char('x')) + QStringLiteral("𠀀𠀀");
    EXPECT_EQ(history::textHead(pairs), QString(19, QLatin1Char('x')));
    EXPECT_EQ(history::textHash(QStringLiteral("abc")),
              QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
}

} // namespace
