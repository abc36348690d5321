// The custom-word dialogs, driven through their controls over the fake library.
#include "words/dlgaddword.h"
#include "words/dlgzdywordlist.h"

#include "support/fakelibrary.h"
#include "support/fakeservices.h"
#include "widgets/picturebutton.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringEncoder>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

using coding::MsgIcon;
using words::DlgAddWord;
using words::dlgZdyCode;
using words::dlgZdyWordList;

namespace {

struct Fixture {
    QTemporaryDir appDir;
    coding::FakeLibrary *library = new coding::FakeLibrary;
    coding::AppState state{coding::AppDirectory::at(appDir.path()),
                           std::unique_ptr<coding::SegmentationLibrary>(library)};
    coding::FakeMessages messages;
    coding::FakeFiles files;
    coding::FakeBeep beep;
    QList<QList<coding::CustomWord>> handedOver; // each hand-over to the input method

    Fixture() {
        state.inputMethod.handOverCustomWords = [this](const QList<coding::CustomWord> &words) {
            handedOver.append(words);
        };
        state.services.setMessages(&messages);
        state.services.setFiles(&files);
        state.services.setBeep(&beep);
        library->proposed = {{QStringLiteral("我"), QStringLiteral("23")},
                             {QStringLiteral("我们"), QStringLiteral("232800")},
                             {QStringLiteral("学习"), QStringLiteral("321304")},
                             {QStringLiteral("Word"), QStringLiteral("0")}};
    }
    QString writeFile(const char *name, const QByteArray &bytes) {
        const QString path = appDir.filePath(QString::fromUtf8(name));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    // Types text into a box: ASCII on the keyboard, Chinese committed by the input
    // method.
    static void type(QWidget *box, const QString &text) {
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80) {
                QTest::keyClicks(box, QString(ch));
            } else {
                QInputMethodEvent commit;
                commit.setCommitString(QString(ch));
                QApplication::sendEvent(box, &commit);
            }
        }
    }
};

} // namespace

class CustomWordDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void theAddDialogStartsWithItsHelp() {
        Fixture f;
        DlgAddWord d(f.state);
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("添加自定义词"));
        QVERIFY(d.lblTips->isVisible());
        QVERIFY(d.lblTips->text().contains(QStringLiteral("本单元帮助用户添加自定义词。")));
        QVERIFY(!d.txtResult->isVisible());
        QVERIFY(!d.cmdAddWord->isEnabled());
        QCOMPARE(d.cmdModiRes->text(), QStringLiteral("从分词结果引入"));
        QCOMPARE(d.cmdExit->text(), QStringLiteral("退      出"));
    }

    void aWordGetsAProposedCodeAtEachChange() {
        Fixture f;
        DlgAddWord d(f.state);
        d.show();
        Fixture::type(d.txtWord, QStringLiteral("我们"));
        QCOMPARE(f.library->calls,
                 (QStringList{QStringLiteral("convert:我"), QStringLiteral("convert:我们")}));
        QCOMPARE(d.txtCode->text(), QStringLiteral("232800"));
        QVERIFY(d.cmdAddWord->isEnabled());
        // Emptying the word keeps the code, but there is nothing to add.
        d.txtWord->clear();
        QCOMPARE(d.txtCode->text(), QStringLiteral("232800"));
        QVERIFY(!d.cmdAddWord->isEnabled());
    }

    void theCodeBoxTakesDigitsOnly() {
        Fixture f;
        DlgAddWord d(f.state);
        d.show();
        QTest::keyClicks(d.txtCode, QStringLiteral("12a 3"));
        QCOMPARE(d.txtCode->text(), QStringLiteral("123"));
        QCOMPARE(f.beep.count, 2);
        QTest::keyClick(d.txtCode, Qt::Key_Backspace);
        QCOMPARE(d.txtCode->text(), QStringLiteral("12"));
        QTest::keyClicks(d.txtCode, QStringLiteral("345678"));
        QCOMPARE(d.txtCode->text(), QStringLiteral("123456")); // six digits at most
    }

    void addingTellsTheOutcomeAndClearsBothBoxes_data() {
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("added") << 0 << QStringLiteral("自定义词：我们  成功加入自定义词库！")
                               << int(MsgIcon::Information);
        QTest::newRow("exists") << 1 << QStringLiteral("自定义词：我们  已经存在！")
                                << int(MsgIcon::Exclamation);
        QTest::newRow("no dictionary")
            << -1 << QStringLiteral("打开自定义词库失败，无法加入自定义词！")
            << int(MsgIcon::Critical);
    }
    void addingTellsTheOutcomeAndClearsBothBoxes() {
        QFETCH(int, result);
        QFETCH(QString, message);
        QFETCH(int, icon);
        Fixture f;
        f.library->addResults[QStringLiteral("我们")] = result;
        DlgAddWord d(f.state);
        d.show();
        Fixture::type(d.txtWord, QStringLiteral("我们"));
        d.txtCode->clear();
        QTest::keyClicks(d.txtCode, QStringLiteral("2328"));
        QTest::mouseClick(d.cmdAddWord, Qt::LeftButton);
        QCOMPARE(f.library->calls.last(), QStringLiteral("add:2328:我们"));
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.lastText(), message);
        QCOMPARE(int(f.messages.shown[0].icon), icon);
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("提示信息"));
        QVERIFY(d.txtWord->text().isEmpty() && d.txtCode->text().isEmpty());
        QVERIFY(!d.cmdAddWord->isEnabled());
        QVERIFY(d.isVisible()); // ready for the next word
        // Only a word the library took reaches the input method.
        const QList<QList<coding::CustomWord>> expected =
            result == 0 ? QList<QList<coding::CustomWord>>{{{QStringLiteral("我们"),
                                                             QStringLiteral("2328")}}}
                        : QList<QList<coding::CustomWord>>{};
        QCOMPARE(f.handedOver, expected);
    }

    void aResultFileIsShownAndItsSelectionGoesToTheWord() {
        Fixture f;
        DlgAddWord d(f.state);
        d.show();
        // Cancelled: nothing changes.
        QTest::mouseClick(d.cmdModiRes, Qt::LeftButton);
        QVERIFY(d.lblTips->isVisible());
        QCOMPARE(f.files.filters.last(), QStringLiteral("分词结果文件(*.fcr)"));

        f.files.openAnswers.enqueue(f.writeFile(
            "r.fcr", QStringEncoder("GB18030")(QStringLiteral("\"好\"\r\n我们,学习\r\n"))));
        QTest::mouseClick(d.cmdModiRes, Qt::LeftButton);
        QVERIFY(!d.lblTips->isVisible());
        QVERIFY(d.txtResult->isVisible());
        QCOMPARE(d.txtResult->toPlainText(), QStringLiteral(" 好 我们 学习"));

        // 好, the blank and 我 selected: the word takes them without the blank.
        QTextCursor cursor(d.txtResult->document());
        cursor.setPosition(1);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        d.txtResult->setTextCursor(cursor);
        QTest::mouseRelease(d.txtResult->viewport(), Qt::LeftButton, {},
                            d.txtResult->cursorRect(cursor).center());
        QCOMPARE(d.txtWord->text(), QStringLiteral("好我"));
        // A click that selects nothing adds nothing.
        QTest::mouseClick(d.txtResult->viewport(), Qt::LeftButton);
        QCOMPARE(d.txtWord->text(), QStringLiteral("好我"));

        // A file that cannot be read says so and changes nothing.
        f.files.openAnswers.enqueue(f.appDir.path());
        QTest::mouseClick(d.cmdModiRes, Qt::LeftButton);
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.lastText().startsWith(QStringLiteral("无法读取分词结果文件")));
        QCOMPARE(d.txtResult->toPlainText(), QStringLiteral(" 好 我们 学习"));
    }

    void theListHoldsEachWordOnceWithItsProposedCode() {
        Fixture f;
        dlgZdyWordList d(f.state, QStringLiteral("我们 Word 学习 WORD 文化"));
        d.show();
        QCOMPARE(d.windowTitle(), QStringLiteral("自定义词列表"));
        QCOMPARE(d.gridWordList->horizontalHeaderItem(0)->text(), QStringLiteral("文      字"));
        QCOMPARE(d.gridWordList->horizontalHeaderItem(1)->text(), QStringLiteral("自定义编码"));
        QCOMPARE(d.gridWordList->rowCount(), 3); // 文化 has no blank after it
        QCOMPARE(d.gridWordList->item(1, 0)->text(), QStringLiteral("Word"));
        QCOMPARE(d.gridWordList->item(2, 1)->text(), QStringLiteral("321304"));
    }

    void aClickOnARowChangesItsCode() {
        Fixture f;
        dlgZdyWordList d(f.state, QStringLiteral("我们 学习 "));
        QString typed = QStringLiteral("2399");
        QString shownLabel;
        d.execDialog = [&](QDialog &dialog) {
            auto &code = static_cast<dlgZdyCode &>(dialog);
            shownLabel = code.lblZdyWord->text();
            code.show();
            QTest::keyClicks(code.txtCode, typed);
            QTest::mouseClick(code.cmdOk, Qt::LeftButton);
            return 1;
        };
        d.show();
        const QRect cell = d.gridWordList->visualItemRect(d.gridWordList->item(0, 0));
        QTest::mouseClick(d.gridWordList->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(shownLabel, QStringLiteral("\"我们\" 是自定义词。\n请修改其自定义编码："));
        QCOMPARE(d.gridWordList->item(0, 1)->text(), QStringLiteral("2399"));
        // An empty box keeps the code.
        typed.clear();
        QTest::mouseClick(d.gridWordList->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(d.gridWordList->item(0, 1)->text(), QStringLiteral("2399"));
        // The code box takes digits only.
        dlgZdyCode code(f.state, QStringLiteral("学习"));
        code.show();
        QTest::keyClicks(code.txtCode, QStringLiteral("1x2"));
        QCOMPARE(code.code(), QStringLiteral("12"));
        QCOMPARE(f.beep.count, 1);
    }

    void okAddsEveryRowAndTellsHowMany() {
        Fixture f;
        f.library->addResults[QStringLiteral("学习")] = 1; // exists
        dlgZdyWordList d(f.state, QStringLiteral("我们 学习 Word "));
        d.show();
        QTest::mouseClick(d.OKButton, Qt::LeftButton);
        QCOMPARE(f.library->calls.filter(QStringLiteral("add:")),
                 (QStringList{QStringLiteral("add:232800:我们"), QStringLiteral("add:321304:学习"),
                              QStringLiteral("add:0:Word")}));
        QCOMPARE(f.messages.lastText(), QStringLiteral("2 条自定义词成功加入自定义词库！"));
        // The words added, at once: not the one that existed.
        QCOMPARE(f.handedOver, (QList<QList<coding::CustomWord>>{
                                   {{QStringLiteral("我们"), QStringLiteral("232800")},
                                    {QStringLiteral("Word"), QStringLiteral("0")}}}));
        QCOMPARE(f.messages.shown.last().icon, MsgIcon::Information);
        QVERIFY(!d.isVisible());

        // An empty list adds nothing and says 0.
        dlgZdyWordList empty(f.state, QString());
        empty.show();
        QCOMPARE(empty.gridWordList->rowCount(), 0);
        QTest::mouseClick(empty.OKButton, Qt::LeftButton);
        QCOMPARE(f.messages.lastText(), QStringLiteral("0 条自定义词成功加入自定义词库！"));
        QCOMPARE(f.handedOver.size(), 1); // nothing to hand over the second time
    }

    void aDictionaryThatCannotBeOpenedStopsTheList() {
        Fixture f;
        f.library->addResults[QStringLiteral("学习")] = -1;
        dlgZdyWordList d(f.state, QStringLiteral("我们 学习 Word "));
        d.show();
        QTest::mouseClick(d.OKButton, Qt::LeftButton);
        QCOMPARE(f.library->calls.filter(QStringLiteral("add:")).size(), 2);
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.lastText(), QStringLiteral("打开自定义词库失败，无法加入自定义词！"));
        QCOMPARE(f.messages.shown[0].icon, MsgIcon::Critical);
        QVERIFY(d.isVisible());
        // The word added before the failure is typeable all the same.
        QCOMPARE(f.handedOver, (QList<QList<coding::CustomWord>>{
                                   {{QStringLiteral("我们"), QStringLiteral("232800")}}}));
    }
};

QTEST_MAIN(CustomWordDialogsTest)
#include "customworddialogs_test.moc"
