// The history window and the review offscreen, through their controls, over a
// real history database in a temporary folder and the fake services.
#include "history/dlgreview.h"
#include "history/frmhistory.h"

#include "support/fakeservices.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

using history::TestDetail;

namespace {

struct Fixture {
    QTemporaryDir dir;
    coding::AppState state{coding::AppDirectory::at(dir.path()), nullptr};
    coding::FakeMessages messages;
    coding::FakeFiles files;
    history::ResultsHistory results{dir.filePath(QStringLiteral("history.sqlite"))};
    QStringList reviews; // what each review showed: its summary

    Fixture() {
        state.services.setMessages(&messages);
        state.services.setFiles(&files);
        state.history = &results;
    }
    // A test of text ending minutes after 2026-12-01 08:00 UTC.
    qint64 add(const QString &text, int minutes, double speed,
               QList<history::Mistake> mistakes = {}) {
        TestDetail d;
        d.text = text;
        d.tags = QString(text.size(), QLatin1Char('0')); // one word
        if (text.size() == 3)
            d.tags[2] = QLatin1Char('1'); // two items: a word and a character
        d.mistakes = mistakes;
        d.entry.endedAt = QDateTime(QDate(2026, 12, 1), QTime(8, 0), Qt::UTC).addSecs(60 * minutes);
        d.entry.textHash = history::textHash(text);
        d.entry.textHead = history::textHead(text);
        d.entry.total = int(text.size());
        d.entry.speed = speed;
        d.entry.effSpeed = speed - 1;
        d.entry.accuracy = 90 + minutes;
        QString error;
        if (!results.record(d, &error))
            qFatal("cannot record a test: %s", qPrintable(error));
        return d.entry.id;
    }
    // The first text at 30 and 40 characters a minute, the second at 50 between.
    void addThreeTestsOfTwoTexts() {
        add(QStringLiteral("第一篇"), 1, 30);
        add(QStringLiteral("第二篇"), 2, 50);
        add(QStringLiteral("第一篇"), 3, 40);
    }
    std::unique_ptr<history::frmHistory> window() {
        auto w = std::make_unique<history::frmHistory>(state, results);
        w->execDialog = [this](QDialog &dialog) {
            if (auto *review = qobject_cast<history::DlgReview *>(&dialog))
                reviews << review->lblSummary->text() + QLatin1Char('|') +
                               QString::number(review->tblWords->rowCount());
            return 0;
        };
        if (!w->load())
            return nullptr;
        w->show();
        return w;
    }
};

QString cell(const history::frmHistory &w, int row, int column) {
    return w.model->index(row, column).data().toString();
}

} // namespace

class FrmHistoryTest : public QObject {
    Q_OBJECT

private slots:
    void theTestsShowTheNewestFirstAndSort() {
        Fixture f;
        f.addThreeTestsOfTwoTexts();
        auto w = f.window();
        QVERIFY(w);
        QCOMPARE(w->model->rowCount(), 3);
        QCOMPARE(cell(*w, 0, history::TestTableModel::Speed), QStringLiteral("40"));
        QCOMPARE(cell(*w, 2, history::TestTableModel::Speed), QStringLiteral("30"));
        QCOMPARE(w->tblTests->selectionModel()->selectedRows().first().row(), 0);
        // A click on the header sorts by that column.
        w->tblTests->sortByColumn(history::TestTableModel::Speed, Qt::DescendingOrder);
        QCOMPARE(cell(*w, 0, history::TestTableModel::Speed), QStringLiteral("50"));
        QCOMPARE(cell(*w, 2, history::TestTableModel::Speed), QStringLiteral("30"));
        QVERIFY(w->lblSummary->text().contains(QStringLiteral("共 3 次测试")));
        QVERIFY(w->lblSummary->text().contains(QStringLiteral("最高速度 50 字/分")));
        QVERIFY(w->lblSummary->text().contains(QStringLiteral("平均速度 40 字/分")));
    }

    void theChartHasAPointATestForAllOrForOneText() {
        Fixture f;
        f.addThreeTestsOfTwoTexts();
        auto w = f.window();
        QVERIFY(w);
        QCOMPARE(w->seriesSpeed->count(), 3);
        QCOMPARE(w->seriesSpeed->at(0).y(), 30.0); // the oldest on the left
        QCOMPARE(w->seriesAccuracy->at(2).y(), 93.0);
        QCOMPARE(w->seriesEffSpeed->at(1).y(), 49.0);
        // Only the selected test's text: the first text's two tests.
        QTest::mouseClick(w->chkThisText, Qt::LeftButton);
        QCOMPARE(w->seriesSpeed->count(), 2);
        w->tblTests->selectRow(1); // the second text
        QCOMPARE(w->seriesSpeed->count(), 1);
        QCOMPARE(w->seriesSpeed->at(0).y(), 50.0);
        QVERIFY(w->lblGrouping->text().contains(QStringLiteral("每次测试一点")));
    }

    void deletingAsksFirst() {
        Fixture f;
        f.add(QStringLiteral("第一篇"), 1, 30);
        const qint64 newest = f.add(QStringLiteral("第二篇"), 2, 50);
        auto w = f.window();
        QVERIFY(w);
        f.messages.answers.enqueue(coding::MsgAnswer::No);
        QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
        QCOMPARE(f.messages.lastText(), QStringLiteral("要删除所选的这次测试的成绩记录吗？"));
        QCOMPARE(w->model->rowCount(), 2);
        f.messages.answers.enqueue(coding::MsgAnswer::Yes);
        QTest::mouseClick(w->cmdDelete, Qt::LeftButton);
        QCOMPARE(w->model->rowCount(), 1);
        QCOMPARE(w->seriesSpeed->count(), 1);
        QString error;
        const auto left = f.results.entries(&error);
        QCOMPARE(left->size(), 1);
        QVERIFY(left->at(0).id != newest);
        QVERIFY(w->lblSummary->text().contains(QStringLiteral("共 1 次测试")));
    }

    void theTableIsExportedAsCsv() {
        Fixture f;
        f.add(QStringLiteral("第一篇"), 1, 30);
        auto w = f.window();
        QVERIFY(w);
        QTest::mouseClick(w->cmdExport, Qt::LeftButton); // cancelled: nothing
        QCOMPARE(f.files.filters.last(), QStringLiteral("CSV 文件(*.csv)"));
        const QString csv = f.dir.filePath(QStringLiteral("tests.csv"));
        f.files.saveAnswers.enqueue(csv);
        QTest::mouseClick(w->cmdExport, Qt::LeftButton);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF时间,文本"));
        QVERIFY(bytes.contains(",第一篇,"));
        QVERIFY(f.messages.shown.isEmpty());
    }

    void aTestIsReviewedWithItsWrongCharactersMarked() {
        Fixture f;
        f.add(QStringLiteral("我们好"), 1, 30, {{1, QStringLiteral("们"), QStringLiteral("门")}});
        auto w = f.window();
        QVERIFY(w);
        QTest::mouseClick(w->cmdReview, Qt::LeftButton);
        QCOMPARE(f.reviews, QStringList{QStringLiteral("错 1 字，在 1 个词（字）中。|1")});

        QString error;
        const auto detail = f.results.detail(f.results.entries(&error)->at(0).id, &error);
        history::DlgReview review(f.state, *detail);
        QCOMPARE(review.tblWords->item(0, 0)->text(), QStringLiteral("我们"));
        QCOMPARE(review.tblWords->item(0, 1)->text(), QStringLiteral("我门"));
        QTextCursor cursor(review.txtText->document());
        cursor.setPosition(2); // after 们
        QCOMPARE(cursor.charFormat().background().color(), QColor(255, 205, 205));
        QVERIFY(cursor.charFormat().fontUnderline());
        QCOMPARE(cursor.charFormat().toolTip(), QStringLiteral("输入成：门"));
        cursor.setPosition(3);
        QVERIFY(cursor.charFormat().background().style() == Qt::NoBrush);
    }

    void anEmptyHistorySaysSo() {
        Fixture f;
        auto w = f.window();
        QVERIFY(w);
        QCOMPARE(w->model->rowCount(), 0);
        QVERIFY(!w->cmdReview->isEnabled() && !w->cmdDelete->isEnabled() &&
                !w->cmdExport->isEnabled());
        QVERIFY(w->lblSummary->text().startsWith(QStringLiteral("还没有测试记录")));
    }
};

QTEST_MAIN(FrmHistoryTest)
#include "frmhistory_test.moc"
