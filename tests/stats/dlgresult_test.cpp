// The result dialog, driven offscreen through its controls: its captions and
// figures, the figures it leaves for the statistics file, "更多信息(&M)" with its
// question and tables, and the exit that gives the test text its colours back.

#include "stats/dlgresult.h"

#include "fixturedatabase.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using coding::MsgAnswer;
using stats::DlgResult;

namespace {

constexpr qint64 kSecond = 1000;

struct Result {
    explicit Result(bool database = true) {
        if (database)
            coding::fixture::writeCodeDatabase(dir.filePath(QStringLiteral("jtdb.dat")),
                                               coding::fixture::standardRows());
        state = std::make_unique<coding::AppState>(coding::AppDirectory::at(dir.path()),
                                                   std::make_unique<coding::FakeLibrary>());
        state->services.setMessages(&messages);
        state->text.SegmentTags = QStringLiteral("001102");
        state->text.HzCount = 5;
        state->text.SymCount = 1;
        state->text.AlphaCount = 0;
    }
    // A dialog over the state as it is now.
    std::unique_ptr<DlgResult> open() {
        auto dialog = std::make_unique<DlgResult>(*state, QStringLiteral("我们学习好。"),
                                                  [this] { ++restored; });
        dialog->execDialog = [this](QDialog &d) {
            opened << QString::fromLatin1(d.metaObject()->className());
            return 0;
        };
        dialog->show();
        return dialog;
    }
    QTemporaryDir dir;
    coding::FakeMessages messages;
    std::unique_ptr<coding::AppState> state;
    int restored = 0;
    QStringList opened;
};

} // namespace

class DlgResultTest : public QObject {
    Q_OBJECT

private slots:
    void showsEveryCaption() {
        Result r;
        auto d = r.open();
        QCOMPARE(d->windowTitle(), QStringLiteral("统计信息"));
        QCOMPARE(d->Frame1->title(), QStringLiteral("文本统计信息"));
        QCOMPARE(d->Frame2->title(), QStringLiteral("用户技术信息"));
        const struct {
            const char *name, *caption;
        } labels[] = {{"Label1", "总字数﹕"},   {"Label3", "汉字数﹕"},
                      {"Label5", "标点数﹕"},   {"Label8", "字母数字数﹕"},
                      {"label2", "用    时﹕"}, {"label4", "正 确 率﹕"},
                      {"label6", "输入速度﹕"}, {"label7", "有效速度﹕"}};
        for (const auto &l : labels) {
            auto *label = d->findChild<QLabel *>(QString::fromLatin1(l.name));
            QVERIFY2(label, l.name);
            QCOMPARE(label->text(), QString::fromUtf8(l.caption));
        }
        QCOMPARE(d->findChild<QPushButton *>("cmdMorInfo")->text(), QStringLiteral("更多信息(&M)"));
        QCOMPARE(d->findChild<QPushButton *>("cmdOk")->text(), QStringLiteral("退   出(&X)"));
    }

    void showsTheFigures_data() {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("err");
        QTest::addColumn<qint64>("ms");
        QTest::addColumn<QString>("time");
        QTest::addColumn<QString>("accuracy");
        QTest::addColumn<QString>("speed");
        QTest::addColumn<QString>("effSpeed");
        QTest::newRow("two and a half minutes") << 95 << 5 << 150 * kSecond << "0:02:30"
                                                << "95.00%"
                                                << "40字/分"
                                                << "38字/分";
        QTest::newRow("no time") << 10 << 0 << qint64(0) << "0:00:00"
                                 << "0.00%"
                                 << "0字/分"
                                 << "0字/分";
        QTest::newRow("nothing typed") << 0 << 0 << 300 * kSecond << "0:05:00"
                                       << "0.00%"
                                       << "0字/分"
                                       << "0字/分";
        QTest::newRow("one hour") << 600 << 0 << 3600 * kSecond << "1:00:00"
                                  << "100.00%"
                                  << "10字/分"
                                  << "10字/分";
        QTest::newRow("12.5 rounds to 12") << 25 << 0 << 120 * kSecond << "0:02:00"
                                           << "100.00%"
                                           << "12字/分"
                                           << "12字/分";
        QTest::newRow("13.5 rounds to 14") << 27 << 0 << 120 * kSecond << "0:02:00"
                                           << "100.00%"
                                           << "14字/分"
                                           << "14字/分";
    }
    void showsTheFigures() {
        QFETCH(int, right);
        QFETCH(int, err);
        QFETCH(qint64, ms);
        QFETCH(QString, time);
        QFETCH(QString, accuracy);
        QFETCH(QString, speed);
        QFETCH(QString, effSpeed);
        Result r;
        r.state->test.RightCount = right;
        r.state->test.ErrCount = err;
        r.state->test.TestDuration = ms;
        auto d = r.open();
        QCOMPARE(d->lblTotal->text(), QStringLiteral("6"));
        QCOMPARE(d->lblHz->text(), QStringLiteral("5"));
        QCOMPARE(d->lblSym->text(), QStringLiteral("1"));
        QCOMPARE(d->lblAlpha->text(), QStringLiteral("0"));
        QCOMPARE(d->lblTime->text(), time);
        QCOMPARE(d->lblRgtRate->text(), accuracy);
        QCOMPARE(d->lblRate->text(), speed);
        QCOMPARE(d->lblEffRate->text(), effSpeed);
        // The figures stay for the statistics file.
        QVERIFY(r.state->derived.ResultStatsReady());
        QCOMPARE(r.state->derived.result->AccuracyText, accuracy);
        QCOMPARE(r.state->derived.result->SpeedText, speed);
        QCOMPARE(r.state->derived.result->EffSpeedText, effSpeed);
    }

    void moreInfoAsksThenBuildsTheTables() {
        Result r;
        auto d = r.open();
        // "No": nothing is built.
        r.messages.answers.enqueue(MsgAnswer::No);
        QTest::mouseClick(d->cmdMorInfo, Qt::LeftButton);
        QCOMPARE(r.messages.shown.size(), 1);
        QCOMPARE(r.messages.lastText(),
                 QStringLiteral("统计过程根据文字的多少，可能需要较长时间，要继续吗？"));
        QCOMPARE(r.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(r.messages.shown[0].buttons, coding::MsgButtons::YesNo);
        QCOMPARE(r.messages.shown[0].icon, coding::MsgIcon::Question);
        QVERIFY(!r.state->derived.MoreInfoStatsReady());
        QVERIFY(r.opened.isEmpty());

        // "Yes": the character and word tables, then the detailed statistics.
        QTest::mouseClick(d->cmdMorInfo, Qt::LeftButton);
        QCOMPARE(r.messages.shown.size(), 2);
        QVERIFY(r.state->derived.MoreInfoStatsReady());
        QVERIFY(r.state->derived.WordTableDone());
        QCOMPARE(r.state->derived.textTables->CharTableLast(), 5);
        QCOMPARE(r.state->derived.textTables->WordCount(1), 2); // 我们, 学习
        QCOMPARE(r.opened, QStringList{QStringLiteral("stats::DlgMoreInfo")});

        // A second time: no question, the dialog at once.
        r.state->derived.textTables->CharTable.clear();
        QTest::mouseClick(d->cmdMorInfo, Qt::LeftButton);
        QCOMPARE(r.messages.shown.size(), 2);
        QVERIFY(r.state->derived.textTables->CharTable.isEmpty());
        QCOMPARE(r.opened.size(), 2);
    }

    void aWordTableOfTheTextIsNotBuiltAgain() {
        Result r;
        r.state->derived.textTables.emplace().WordTable[0] = {{"旧", 7, "", ""}};
        auto d = r.open();
        QTest::mouseClick(d->cmdMorInfo, Qt::LeftButton);
        QVERIFY(r.messages.shown.isEmpty()); // no question either
        QCOMPARE(r.state->derived.textTables->WordTable[0].value(0).count, 7);
        QCOMPARE(r.opened, QStringList{QStringLiteral("stats::DlgMoreInfo")});
    }

    void aMissingDatabaseIsToldAndNothingIsMarkedDone() {
        Result r(false);
        auto d = r.open();
        QTest::mouseClick(d->cmdMorInfo, Qt::LeftButton);
        QCOMPARE(r.messages.shown.size(), 2); // the question, then the trouble
        QVERIFY(!r.state->derived.MoreInfoStatsReady());
        QVERIFY(!r.state->derived.WordTableDone());
        QVERIFY(r.opened.isEmpty());
    }

    void everyWayOutGivesTheTextItsColoursBack() {
        Result r;
        auto byButton = r.open();
        QTest::mouseClick(byButton->cmdOk, Qt::LeftButton);
        QCOMPARE(r.restored, 1);
        QVERIFY(!byButton->isVisible());
        QCOMPARE(byButton->result(), int(QDialog::Accepted));

        auto byEscape = r.open();
        QTest::keyClick(byEscape.get(), Qt::Key_Escape);
        QCOMPARE(r.restored, 2);
        QVERIFY(!byEscape->isVisible());

        auto byClose = r.open();
        byClose->close();
        QCOMPARE(r.restored, 3);
    }
};

QTEST_MAIN(DlgResultTest)
#include "dlgresult_test.moc"
