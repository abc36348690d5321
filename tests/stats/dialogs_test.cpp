// The detailed-statistics dialog and the two keystroke dialogs, driven offscreen
// through their controls, over the standard fixture database and the fake library.
#include "stats/dlgkeys.h"
#include "stats/dlgmissed.h"
#include "stats/dlgmoreinfo.h"
#include "stats/dlguserkeys.h"
#include "stats/keystrokes.h"
#include "stats/userstats.h"

#include "coding/fixturedatabase.h"
#include "support/dialogdriver.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

#include <functional>

using coding::CodeRecord;

namespace {

using support::numbers;
using support::whileOpen;
const auto labelTexts = support::keyLabelTexts;

struct Fixture {
    QTemporaryDir dir;
    coding::FakeLibrary *library = new coding::FakeLibrary;
    coding::AppState state{coding::AppDirectory::at(dir.path()),
                           std::unique_ptr<coding::SegmentationLibrary>(library)};
    coding::FakeMessages messages;

    explicit Fixture(bool withDatabase = true,
                     const coding::fixture::CodeRows &rows = coding::fixture::standardRows()) {
        state.services.setMessages(&messages);
        if (withDatabase) {
            const QString error =
                coding::fixture::writeCodeDatabase(dir.filePath(QStringLiteral("jtdb.dat")), rows);
            if (!error.isEmpty())
                qFatal("fixture database: %s", qPrintable(error));
        }
    }

    // The tables of a small text: 我 ×3, ， ×4, 习 ×2; 我, 学习 ×2 and a six-character
    // word; 5 letters and digits, 4 punctuation characters.
    void setTextTables() {
        coding::TextTables &t = state.derived.textTables.emplace();
        t.CharTable = {{"我", 3, "2355", "23"}, {"，", 4, "", ""}, {"习", 2, "17120", ""}};
        t.WordTable = {QList<CodeRecord>{{"我", 1, "2355", "23"}},
                       QList<CodeRecord>{{"学习", 2, "324171", ""}, {"我们", 1, "235272", ""}},
                       {},
                       {},
                       QList<CodeRecord>{{"一二三四五六", 1, "111000", "1110"}}};
        state.text.AlphaCount = 5;
        state.text.SymCount = 4;
    }
};

template <typename T> T *child(QWidget &w, const QString &name) {
    return w.findChild<T *>(name);
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    // --- DlgMoreInfo ---------------------------------------------------------------
    void moreInfoGrids();
    void moreInfoCandidatePlaces_data();
    void moreInfoCandidatePlaces();
    void moreInfoTabsBringTheirGrid();
    void moreInfoUserFigures_data();
    void moreInfoUserFigures();
    void moreInfoCaptions();
    void moreInfoOpensTheKeystrokeDialogs();
    // --- DlgKeys -------------------------------------------------------------------
    void keysFramesAndRows();
    void keysShowAndStoreTheCounts();
    void keysShowTheFewestKeysAndTheirWay();
    void missedShortcutsAreListedWithWhatTheySave();
    // --- DlgUserKeys ---------------------------------------------------------------
    void userKeysNothingTyped();
    void userKeysBuiltOnceThenReused();
    void userKeysFailuresAreToldAndRetried();
};

void DialogsTest::moreInfoGrids() {
    Fixture f;
    f.setTextTables();
    stats::DlgMoreInfo dialog(f.state);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("详细信息"));

    const QStringList headers{"文   字", "次 数", "标准码", "简 码", "候选"};
    const int rows[] = {1, 2, 0, 0, 1};
    for (int c = 0; c < 5; ++c) {
        auto *grid = child<QTableWidget>(dialog, QStringLiteral("fgwords(%1)").arg(c));
        QVERIFY(grid);
        QCOMPARE(grid->columnCount(), 5);
        for (int col = 0; col < 5; ++col)
            QCOMPARE(grid->horizontalHeaderItem(col)->text(), headers[col]);
        QCOMPARE(grid->columnWidth(0), 120); // 1800 twips
        QCOMPARE(grid->columnWidth(1), 46);  // 700 twips
        QCOMPARE(grid->columnWidth(2), 66);  // 1000 twips
        // a class without words shows its header only
        QCOMPARE(grid->rowCount(), rows[c]);
    }
    auto *two = child<QTableWidget>(dialog, "fgwords(1)");
    const QStringList first{"学习", "2", "324171", ""}, second{"我们", "1", "235272", ""};
    for (int col = 0; col < 4; ++col) {
        QCOMPARE(two->item(0, col)->text(), first[col]);
        QCOMPARE(two->item(1, col)->text(), second[col]);
    }
    auto *many = child<QTableWidget>(dialog, "fgwords(4)");
    QCOMPARE(many->item(0, 0)->text(), QStringLiteral("一二三四五六"));
    QCOMPARE(many->item(0, 3)->text(), QStringLiteral("1110"));
}

void DialogsTest::moreInfoCandidatePlaces_data() {
    QTest::addColumn<bool>("withCandidates");
    // The fifth column of each row: fgwords(0), fgwords(1) ×3, fgwords(4).
    QTest::addColumn<QStringList>("places");
    QTest::newRow("places_from_the_database") << true << QStringList{"2", "1", "2", "", ""};
    QTest::newRow("a_database_without_places") << false << QStringList{"", "", "", "", ""};
}

void DialogsTest::moreInfoCandidatePlaces() {
    QFETCH(bool, withCandidates);
    QFETCH(QStringList, places);
    coding::fixture::CodeRows rows = coding::fixture::standardRows();
    if (!withCandidates)
        rows.candidates.reset();
    Fixture f(true, rows);
    // 变 and 变化 are the second candidates of 00400 and 004242, 文化 the first of its
    // short code 0042; 长椅 and the six-character word are not in the database.
    coding::TextTables &t = f.state.derived.textTables.emplace();
    t.WordTable = {QList<CodeRecord>{{"变", 1, "00400", ""}},
                   QList<CodeRecord>{{"文化", 3, "004242", "0042"},
                                     {"变化", 2, "004242", ""},
                                     {"长椅", 1, "713441", ""}},
                   {},
                   {},
                   QList<CodeRecord>{{"一二三四五六", 1, "111000", "1110"}}};
    stats::DlgMoreInfo dialog(f.state);
    QStringList shown;
    const std::pair<int, int> grids[] = {{0, 1}, {1, 3}, {4, 1}}; // class, rows
    for (const auto &[c, rowCount] : grids) {
        auto *grid = child<QTableWidget>(dialog, QStringLiteral("fgwords(%1)").arg(c));
        QCOMPARE(grid->rowCount(), rowCount);
        for (int row = 0; row < rowCount; ++row) {
            QVERIFY(grid->item(row, 4));
            shown << grid->item(row, 4)->text();
        }
    }
    QCOMPARE(shown, places);
    // The codes beside them are those of the word table.
    auto *two = child<QTableWidget>(dialog, "fgwords(1)");
    QCOMPARE(two->item(1, 0)->text(), QStringLiteral("变化"));
    QCOMPARE(two->item(1, 2)->text(), QStringLiteral("004242"));
    QVERIFY(f.messages.shown.isEmpty());
}

void DialogsTest::moreInfoTabsBringTheirGrid() {
    Fixture f;
    f.setTextTables();
    stats::DlgMoreInfo dialog(f.state);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto *tabs = child<QTabBar>(dialog, "tspWords");
    QCOMPARE(tabs->count(), 5);
    const QStringList captions{"单  字", "二字词", "三字词", "四字词", "多字词"};
    auto *stack =
        qobject_cast<QStackedWidget *>(child<QTableWidget>(dialog, "fgwords(0)")->parentWidget());
    QVERIFY(stack);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tabs->tabText(i), captions[i]);
    QVERIFY(child<QTableWidget>(dialog, "fgwords(0)")->isVisible());
    for (int i : {2, 4, 0}) {
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(i).center());
        const auto *front = child<QTableWidget>(dialog, QStringLiteral("fgwords(%1)").arg(i));
        QVERIFY(front->isVisible());
        QCOMPARE(stack->currentWidget(), front);
    }
}

void DialogsTest::moreInfoUserFigures_data() {
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("err");
    QTest::addColumn<QList<int>>("bursts");
    QTest::addColumn<int>("keys");
    QTest::addColumn<QStringList>("shown"); // total, five bursts, keys, average
    QTest::newRow("open_burst_of_three") << 6 << 2 << QList<int>{3, 1, 0, 0, 0} << 26
                                         << QStringList{"8", "3", "1", "1", "0", "0", "26", "3.25"};
    QTest::newRow("open_burst_capped_at_five")
        << 12 << 0 << QList<int>{5, 0, 0, 0, 0} << 30
        << QStringList{"12", "5", "0", "0", "0", "1", "30", "2.50"};
    QTest::newRow("nothing_typed")
        << 0 << 0 << QList<int>{0, 0, 0, 0, 0} << 4 << QStringList{"0", "", "", "", "", "", "", ""};
}

void DialogsTest::moreInfoUserFigures() {
    QFETCH(int, right);
    QFETCH(int, err);
    QFETCH(QList<int>, bursts);
    QFETCH(int, keys);
    QFETCH(QStringList, shown);
    Fixture f;
    f.state.test.RightCount = right;
    f.state.test.ErrCount = err;
    std::copy(bursts.begin(), bursts.end(), f.state.test.TypedWordCounts.begin());
    f.state.test.KeyPressCount = keys;
    f.state.derived.learner.emplace().UserAvgKeys = -1;
    stats::DlgMoreInfo dialog(f.state);
    QStringList actual{child<QLabel>(dialog, "lblTotalWord")->text()};
    for (int k = 0; k < 5; ++k)
        actual << child<QLabel>(dialog, QStringLiteral("lblWordLen(%1)").arg(k))->text();
    actual << child<QLabel>(dialog, "lblUserKeys")->text()
           << child<QLabel>(dialog, "lblAvrKeys")->text();
    QCOMPARE(actual, shown);
    QVERIFY(f.state.derived.learner);
    const coding::LearnerFigures &learner = *f.state.derived.learner;
    QCOMPARE(learner.UserCharTotal, right + err);
    if (right + err == 0) {
        QCOMPARE(learner.UserAvgKeys, -1.0); // untouched
        return;
    }
    for (int k = 0; k < 5; ++k)
        QCOMPARE(QString::number(learner.UserWordLenCounts[size_t(k)]), shown[k + 1]);
    QCOMPARE(learner.UserKeyTotal, keys);
    QCOMPARE(QString::number(learner.UserAvgKeys, 'f', 2), shown[7]);
}

void DialogsTest::moreInfoCaptions() {
    Fixture f;
    stats::DlgMoreInfo dialog(f.state);
    QCOMPARE(child<QGroupBox>(dialog, "Frame1")->title(), QStringLiteral("文本详细统计信息"));
    QCOMPARE(child<QGroupBox>(dialog, "Frame2")->title(), QStringLiteral("用户详细技术信息"));
    const QStringList labels{"总字数﹕", "单  字﹕", "二字词﹕",   "三字词﹕",
                             "四字词﹕", "多字词﹕", "击键次数﹕", "平均键数﹕"};
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(child<QLabel>(dialog, QStringLiteral("Label%1").arg(i + 1))->text(), labels[i]);
    auto *keys = child<QPushButton>(dialog, "cmdKeys");
    auto *userKeys = child<QPushButton>(dialog, "cmdUserKeys");
    QCOMPARE(keys->text(), QStringLiteral("全文键数(&K)…"));
    QCOMPARE(keys->toolTip(), QStringLiteral("统计输入全部文本的键数"));
    QCOMPARE(userKeys->text(), QStringLiteral("用户输入(&U)…"));
    QCOMPARE(userKeys->toolTip(), QStringLiteral("统计用户输入的文本的键数"));
    auto *ok = child<QPushButton>(dialog, "cmdOk");
    QCOMPARE(ok->text(), QStringLiteral("退    出(&X)"));
    dialog.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void DialogsTest::moreInfoOpensTheKeystrokeDialogs() {
    Fixture f;
    f.setTextTables();
    f.state.test.TypedText = "我们学习。";
    f.state.test.RightCount = 5;
    f.library->tagsFor.insert("我们学习。", "00112");
    stats::DlgMoreInfo dialog(f.state);
    dialog.show();

    QStringList shown;
    QVERIFY(whileOpen<stats::DlgKeys>(child<QPushButton>(dialog, "cmdKeys"), "OKButton",
                                      [&](stats::DlgKeys &keys) { shown = labelTexts(keys); }));
    QCOMPARE(shown, numbers(stats::countTextKeys(f.state)));
    QCOMPARE(shown[0], QStringLiteral("41"));
    QVERIFY(f.state.derived.TextKeysDone());

    QVERIFY(
        whileOpen<stats::DlgUserKeys>(child<QPushButton>(dialog, "cmdUserKeys"), "OKButton",
                                      [&](stats::DlgUserKeys &keys) { shown = labelTexts(keys); }));
    QVERIFY(f.state.derived.UserKeysDone());
    QCOMPARE(shown, numbers(*f.state.derived.userKeys));
    // 我们 235272, 学习 324171: 6 + 6 keys and 4 function keys, one full stop
    QCOMPARE(shown[stats::WordStdTotal], QStringLiteral("17"));
    QVERIFY(dialog.isVisible());
}

void DialogsTest::keysFramesAndRows() {
    Fixture f;
    stats::DlgKeys dialog(f.state);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("全文键数统计"));
    struct Frame {
        const char *name, *title, *hint, *parent;
        QList<int> indexes;
        QStringList captions;
    } const frames[] = {
        {"Frame1", "单字输入", "只使用单字输入时的键数统计信息！", "", {}, {}},
        {"Frame2", "词组输入", "使用词组输入时的键数统计信息！", "", {}, {}},
        {"Frame3",
         "使用标准码",
         "单字标准码输入时的统计信息！",
         "Frame1",
         {0, 1, 2, 20, 3},
         {"总键数：", "字键数：", "标点键数：", "字母数字数：", "功能键数："}},
        {"Frame4",
         "使用简码",
         "单字简码输入时的统计信息！",
         "Frame1",
         {4, 5, 6, 7, 21, 8},
         {"总键数：", "标准码键数：", "简码键数：", "标点键数：", "字母数字数：", "功能键数："}},
        {"Frame5",
         "使用标准码",
         "词组标准码输入时的统计信息！",
         "Frame2",
         {9, 10, 11, 12, 22, 13},
         {"总键数：", "字键数：", "词键数：", "标点键数：", "字母数字数：", "功能键数："}},
        {"Frame6",
         "使用简码",
         "词组简码输入时的统计信息！",
         "Frame2",
         {14, 15, 16, 17, 18, 23, 19},
         {"总键数：", "标准码键数：", "字简码键数：", "词简码键数：", "标点键数：", "字母数字数：",
          "功能键数："}},
    };
    for (const Frame &fr : frames) {
        auto *box = child<QGroupBox>(dialog, QString::fromLatin1(fr.name));
        QVERIFY2(box, fr.name);
        QCOMPARE(box->title(), QString::fromUtf8(fr.title));
        QCOMPARE(box->toolTip(), QString::fromUtf8(fr.hint));
        if (!*fr.parent)
            continue;
        QCOMPARE(box->parentWidget()->objectName(), QString::fromLatin1(fr.parent));
        auto *grid = qobject_cast<QGridLayout *>(box->layout());
        for (int row = 0; row < fr.indexes.size(); ++row) {
            auto *caption = qobject_cast<QLabel *>(grid->itemAtPosition(row, 0)->widget());
            auto *count = qobject_cast<QLabel *>(grid->itemAtPosition(row, 1)->widget());
            QCOMPARE(caption->text(), fr.captions[row]);
            QCOMPARE(count->objectName(), QStringLiteral("lblkeys(%1)").arg(fr.indexes[row]));
        }
    }

    // The user dialog has the same frames, captions and labels.
    stats::DlgUserKeys user(f.state);
    QCOMPARE(user.windowTitle(), QStringLiteral("用户输入内容键数统计"));
    for (const Frame &fr : frames) {
        auto *box = child<QGroupBox>(user, QString::fromLatin1(fr.name));
        QCOMPARE(box->toolTip(), QString::fromUtf8(fr.hint));
        for (int i : fr.indexes)
            QVERIFY(box->findChild<QLabel *>(QStringLiteral("lblkeys(%1)").arg(i)));
    }
    QCOMPARE(child<QPushButton>(dialog, "OKButton")->text(), QStringLiteral("退   出(&X)"));
    QCOMPARE(child<QPushButton>(user, "OKButton")->text(), QStringLiteral("退 出(&X)"));
}

void DialogsTest::keysShowAndStoreTheCounts() {
    Fixture f;
    f.setTextTables();
    const QStringList expected{"41", "22", "4",  "10", "35", "10", "6", "4",  "10", "47", "4", "24",
                               "4",  "10", "43", "18", "2",  "4",  "4", "10", "5",  "5",  "5", "5"};
    for (int opening = 0; opening < 2; ++opening) {
        f.state.derived.textKeys.reset();
        stats::DlgKeys dialog(f.state);
        QCOMPARE(labelTexts(dialog), expected);
        QVERIFY(f.state.derived.TextKeysDone());
        QCOMPARE(numbers(*f.state.derived.textKeys), expected);
    }
}

void DialogsTest::keysShowTheFewestKeysAndTheirWay() {
    Fixture f;
    f.setTextTables();
    f.state.text.text = QStringLiteral("我们学习，我");
    f.state.text.SegmentTags = QStringLiteral("001120");
    stats::DlgKeys dialog(f.state);
    QVERIFY(dialog.plan());
    const stats::KeyPlan &plan = *dialog.plan();
    QCOMPARE(dialog.lblPlan[0]->text(), QString::number(plan.total));
    QCOMPARE(dialog.lblPlan[3]->text(), QStringLiteral("1")); // the comma
    QCOMPARE(plan.total,
             plan.charKeys + plan.wordKeys + plan.punctKeys + plan.alphaKeys + plan.funcKeys);
    QString shown;
    dialog.execDialog = [&](QDialog &view) {
        shown = child<QLabel>(view, "lblSummary")->text() + QLatin1Char('|') +
                child<QTextEdit>(view, "txtPlan")->toPlainText();
        return 0;
    };
    QTest::mouseClick(dialog.cmdPlanView, Qt::LeftButton);
    QVERIFY2(shown.startsWith(QStringLiteral("最少键数：%1").arg(plan.total)), qPrintable(shown));
    for (const stats::PlanItem &item : plan.items)
        QVERIFY2(shown.contains(item.text + item.code), qPrintable(shown));

    // The detailed statistics give it as keys a character (理论码长), six characters.
    stats::DlgMoreInfo more(f.state);
    QCOMPARE(child<QLabel>(more, "lblBestKeys")->text(), stats::formatRatio(plan.total, 6));
    QCOMPARE(child<QLabel>(more, "Label9")->text(), QStringLiteral("理论码长﹕"));

    // Without the code database there is no plan to show.
    Fixture none(false);
    none.setTextTables();
    none.state.text.text = QStringLiteral("我");
    none.state.text.SegmentTags = QStringLiteral("0");
    stats::DlgKeys without(none.state);
    QCOMPARE(without.lblPlan[0]->text(), QStringLiteral("—"));
    QVERIFY(!without.cmdPlanView->isEnabled());
}

void DialogsTest::missedShortcutsAreListedWithWhatTheySave() {
    coding::fixture::CodeRows rows;
    rows.jtzi = {{QStringLiteral("甲"), QStringLiteral("1234")},
                 {QStringLiteral("乙"), QStringLiteral("2234")},
                 {QStringLiteral("丙"), QStringLiteral("3234")},
                 {QStringLiteral("丁"), QStringLiteral("4234")}};
    rows.jtci[1] = {{QStringLiteral("甲乙"), QStringLiteral("123422")}};
    rows.jtci[3] = {{QStringLiteral("丙丁"), QStringLiteral("3")}};
    Fixture f(true, rows);
    // 甲 and 乙 apart (6 + 6 keys at the fewest against 8), 丙丁 with 4 keys against 3.
    stats::DlgMissed dialog(f.state, QStringLiteral("甲乙丙丁"), QStringLiteral("0000"),
                            {{0, 1, 5}, {1, 1, 5}, {2, 2, 4}});
    QCOMPARE(dialog.tblMissed->rowCount(), 2);
    const auto row = [&](int r) {
        QStringList cells;
        for (int c = 0; c < dialog.tblMissed->columnCount(); ++c)
            cells << dialog.tblMissed->item(r, c)->text();
        return cells;
    };
    QCOMPARE(row(0), (QStringList{"甲乙", "甲 | 乙", "123422", "至少 4", "分开输入"}));
    QCOMPARE(row(1), (QStringList{"丙丁", "丙丁", "3", "1", "编码较长（推算）"}));
    QCOMPARE(dialog.lblSummary->text(),
             QStringLiteral("错过 2 处捷径，共可少击约 5 键（其中 1 键为推算）。"));

    stats::DlgMissed best(f.state, QStringLiteral("甲乙丙丁"), QStringLiteral("0000"),
                          {{0, 2, 8}, {2, 2, 3}});
    QCOMPARE(best.tblMissed->rowCount(), 0);
    QVERIFY(best.lblSummary->text().startsWith(QStringLiteral("没有错过的捷径")));
    stats::DlgMissed none(f.state, QStringLiteral("甲乙"), QStringLiteral("00"), {});
    QCOMPARE(none.lblSummary->text(), QStringLiteral("这次测试没有输入记录，无法比较。"));
}

void DialogsTest::userKeysNothingTyped() {
    Fixture f;
    coding::KeyCounts sevens;
    sevens.fill(7);
    f.state.derived.userKeys = sevens;
    for (bool done : {false, true}) {
        if (done)
            f.state.derived.typed = coding::TypedTables{};
        else
            f.state.derived.typed.reset();
        stats::DlgUserKeys dialog(f.state);
        QCOMPARE(labelTexts(dialog), QStringList(24, QStringLiteral("0")));
        QCOMPARE(f.state.derived.UserKeysDone(), done);
        QCOMPARE((*f.state.derived.userKeys)[0], 7);
    }
    QVERIFY(f.library->calls.isEmpty());
}

void DialogsTest::userKeysBuiltOnceThenReused() {
    Fixture f;
    f.state.test.TypedText = "我们学习。";
    f.library->tagsFor.insert("我们学习。", "00112");
    f.library->codes.insert("。", "");

    QStringList first;
    {
        stats::DlgUserKeys dialog(f.state);
        first = labelTexts(dialog);
    }
    QVERIFY(f.state.derived.UserKeysDone());
    QCOMPARE(first, numbers(*f.state.derived.userKeys));
    QCOMPARE(first[stats::CharStdTotal], QStringLiteral("29")); // 4 × 5 + 8 + 1
    const QStringList callsAfterFirst = f.library->calls;
    QCOMPARE(callsAfterFirst.count("divide:我们学习。"), 1);

    // Reopened without a new test: the same numbers, the library not asked again,
    // even when the typed text has changed meanwhile.
    f.state.derived.userKeys.reset();
    f.state.test.TypedText = "我们学习。我";
    {
        stats::DlgUserKeys dialog(f.state);
        QCOMPARE(labelTexts(dialog), first);
    }
    QCOMPARE(f.library->calls, callsAfterFirst);

    // A new test clears UserKeysDone: the tables are built again.
    f.state.beginTest();
    QVERIFY(!f.state.derived.UserKeysDone());
    f.state.test.TypedText = "我们学习。我";
    f.library->tagsFor.insert("我们学习。我", "001120");
    stats::DlgUserKeys dialog(f.state);
    QCOMPARE(f.library->calls.count("divide:我们学习。我"), 1);
    QCOMPARE(labelTexts(dialog)[stats::CharStdTotal], QStringLiteral("36"));
}

void DialogsTest::userKeysFailuresAreToldAndRetried() {
    {
        Fixture f;
        f.state.test.TypedText = "我们";
        f.library->loadError = "无法载入分词词库";
        stats::DlgUserKeys dialog(f.state);
        QCOMPARE(labelTexts(dialog), QStringList(24, QStringLiteral("0")));
        QVERIFY(!f.state.derived.UserKeysDone());
        QCOMPARE(f.messages.shown.size(), 1);
        // The window's sentence, then what the library said.
        QCOMPARE(f.messages.shown[0].text,
                 QStringLiteral("分词词库marvik.dic已损坏或不存在，无法分词！\n无法载入分词词库"));
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(f.messages.shown[0].icon, coding::MsgIcon::Exclamation);

        // Once the library loads, the next opening builds the tables.
        f.library->loadError.clear();
        f.library->tagsFor.insert("我们", "00");
        stats::DlgUserKeys again(f.state);
        QVERIFY(f.state.derived.UserKeysDone());
        QCOMPARE(labelTexts(again)[stats::WordStdTotal], QStringLiteral("8"));
    }
    {
        Fixture f(false); // no jtdb.dat
        f.state.test.TypedText = "我们";
        f.library->tagsFor.insert("我们", "00");
        stats::DlgUserKeys dialog(f.state);
        QVERIFY(!f.state.derived.UserKeysDone());
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.shown[0].text.contains(QStringLiteral("jtdb.dat")));
        QCOMPARE(labelTexts(dialog), QStringList(24, QStringLiteral("0")));
    }
}

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
