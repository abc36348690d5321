// The way a learner reaches the statistics after a test: the result dialog's
// "更多信息(&M)" builds the tables and opens the detailed statistics, whose buttons
// open the two keystroke dialogs; each shows the figures of this test.
#include "stats/dlgkeys.h"
#include "stats/dlgmoreinfo.h"
#include "stats/dlgresult.h"
#include "stats/dlguserkeys.h"
#include "stats/keystrokes.h"

#include "coding/fixturedatabase.h"
#include "support/dialogdriver.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

using support::numbers;
using support::whileOpen;
const auto labelTexts = support::keyLabelTexts;

QString text(QWidget &dialog, const QString &name) {
    return dialog.findChild<QLabel *>(name)->text();
}

} // namespace

class ResultChainTest : public QObject {
    Q_OBJECT

private slots:
    void figuresOfTheTestFromTheResultDialog();
};

void ResultChainTest::figuresOfTheTestFromTheResultDialog() {
    QTemporaryDir dir;
    auto *library = new coding::FakeLibrary;
    coding::AppState state(coding::AppDirectory::at(dir.path()),
                           std::unique_ptr<coding::SegmentationLibrary>(library));
    coding::FakeMessages messages;
    state.services.setMessages(&messages);
    QCOMPARE(coding::fixture::writeCodeDatabase(dir.filePath("jtdb.dat"),
                                                coding::fixture::standardRows()),
             QString());

    // The text 我们学习我们。好 and a test in which 我们学习 was typed, one
    // character wrong, in bursts of two and two (the second still open).
    const QString testText = QStringLiteral("我们学习我们。好");
    state.text.SegmentTags = "00110021";
    state.text.HzCount = 7;
    state.text.SymCount = 1;
    state.test.TestDuration = 60 * 1000;
    state.test.RightCount = 3;
    state.test.ErrCount = 1;
    state.test.TypedWordCounts = {0, 1, 0, 0, 0};
    state.test.KeyPressCount = 12;
    state.test.TypedText = QStringLiteral("我们学习");
    library->tagsFor.insert(state.test.TypedText, "0011");

    stats::DlgResult result(state, testText, [] {});
    result.show();
    QStringList keys, userKeys;
    const bool opened = whileOpen<stats::DlgMoreInfo>(
        result.cmdMorInfo, "cmdOk", [&](stats::DlgMoreInfo &moreInfo) {
            // The words of the text, most frequent first, with their codes.
            auto *two = moreInfo.findChild<QTableWidget *>("fgwords(1)");
            QCOMPARE(two->rowCount(), 2);
            QCOMPARE(two->item(0, 0)->text(), QStringLiteral("我们"));
            QCOMPARE(two->item(0, 1)->text(), QStringLiteral("2"));
            QCOMPARE(two->item(1, 3)->text(), QStringLiteral("3241"));
            QCOMPARE(moreInfo.findChild<QTableWidget *>("fgwords(0)")->item(0, 2)->text(),
                     QStringLiteral("47447"));
            // The learner's figures.
            QCOMPARE(text(moreInfo, "lblTotalWord"), QStringLiteral("4"));
            QCOMPARE(text(moreInfo, "lblWordLen(1)"), QStringLiteral("2"));
            QCOMPARE(text(moreInfo, "lblUserKeys"), QStringLiteral("12"));
            QCOMPARE(text(moreInfo, "lblAvrKeys"), QStringLiteral("3.00"));

            QVERIFY(whileOpen<stats::DlgKeys>(
                moreInfo.findChild<QPushButton *>("cmdKeys"), "OKButton",
                [&](stats::DlgKeys &dialog) { keys = labelTexts(dialog); }));
            QVERIFY(whileOpen<stats::DlgUserKeys>(
                moreInfo.findChild<QPushButton *>("cmdUserKeys"), "OKButton",
                [&](stats::DlgUserKeys &dialog) { userKeys = labelTexts(dialog); }));
        });
    QVERIFY(opened);
    QCOMPARE(messages.shown.size(), 1); // the question before the tables are built
    QVERIFY(state.derived.MoreInfoStatsReady());

    // 7 coded characters of five digits, one full stop; 我们 ×2 and 学习 (six
    // digits each), 好 (five digits).
    QCOMPARE(keys, numbers(*state.derived.textKeys));
    QCOMPARE(keys[stats::CharStdTotal], QStringLiteral("50"));
    QCOMPARE(keys[stats::WordStdTotal], QStringLiteral("32"));
    QVERIFY(state.derived.TextKeysDone());
    // 我们学习 as typed: four characters, two words.
    QCOMPARE(userKeys, numbers(*state.derived.userKeys));
    QCOMPARE(userKeys[stats::CharStdTotal], QStringLiteral("28"));
    QCOMPARE(userKeys[stats::WordStdTotal], QStringLiteral("16"));
    QVERIFY(state.derived.UserKeysDone());
}

QTEST_MAIN(ResultChainTest)
#include "resultchain_test.moc"
