// The open-file dialog, driven through its controls, with the file dialog and the
// message boxes answered by the test and a fake receiver in place of the windows.
#include "fakereceiver.h"

#include "prepare/frmopenfile.h"

#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using coding::MsgIcon;
using prepare::frmOpenFile;

class FrmOpenFileTest : public QObject {
    Q_OBJECT

private:
    struct Fixture {
        QTemporaryDir appDir, files;
        coding::FakeLibrary *library = new coding::FakeLibrary;
        coding::AppState state{coding::AppDirectory::at(appDir.path()),
                               std::unique_ptr<coding::SegmentationLibrary>(library)};
        coding::FakeMessages messages;
        coding::FakeFiles fileDialog;
        FakeReceiver receiver{state};
        frmOpenFile dialog{state, receiver};

        Fixture() {
            state.services.setMessages(&messages);
            state.services.setFiles(&fileDialog);
            dialog.show();
        }
        QString write(const QString &name, const QByteArray &bytes) {
            QFile file(files.filePath(name));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
            return file.fileName();
        }
        template <typename T> T *control(const char *name) {
            return dialog.findChild<T *>(QString::fromLatin1(name));
        }
        void click(const char *name) {
            QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton);
        }
        // Chooses a file through "选择文件(&S)…".
        void choose(const QString &path) {
            fileDialog.openAnswers.enqueue(path);
            click("cmdSelectFile");
        }
        QString shownText() { return control<QPlainTextEdit>("txtFileContent")->toPlainText(); }
    };

    static QString twentyCharacters() {
        return QStringLiteral("我们学习汉语，这是一篇用来测试分词的短文。");
    }

private slots:
    void startsWithEveryControlInItsPlace() {
        Fixture f;
        QCOMPARE(f.dialog.windowTitle(), QStringLiteral("打开测试文件"));
        const struct {
            const char *name, *caption;
        } buttons[] = {{"chkAlpha", "过滤字母与数字"},
                       {"chkUseFilter", "过滤符号"},
                       {"chkUserDefMb", "使用自定义码本"},
                       {"cmdSelectFile", "选择文件(&S)…"},
                       {"cmdExit", "退出(&X)"},
                       {"cmdOpenFile", "打开(&O)"}};
        for (const auto &b : buttons)
            QCOMPARE(f.control<QAbstractButton>(b.name)->text(), QString::fromUtf8(b.caption));
        QCOMPARE(f.control<QLabel>("lblFileContent")->text(), QStringLiteral("文件内容："));
        QVERIFY(f.control<QCheckBox>("chkAlpha")->isChecked());
        QVERIFY(f.control<QCheckBox>("chkUseFilter")->isChecked());
        QVERIFY(!f.control<QCheckBox>("chkUserDefMb")->isChecked());
        QVERIFY(!f.control<QCheckBox>("chkUserDefMb")->isVisible());
        QVERIFY(f.control<QPushButton>("cmdSelectFile")->isDefault());
        QVERIFY(f.control<QProgressBar>("prgBar")->isVisible());
        QVERIFY(!f.dialog.fileChosen());

        // The file text: read-only, no caret, no context menu.
        auto *text = f.control<QPlainTextEdit>("txtFileContent");
        QVERIFY(text->isReadOnly());
        QVERIFY(
            !(text->textInteractionFlags() & (Qt::TextEditable | Qt::TextSelectableByKeyboard)));
        QCOMPARE(text->font().family(), QStringLiteral("楷体_GB2312"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                    text->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(text->viewport(), &menuEvent);
        QVERIFY(!QApplication::activePopupWidget());
    }

    void openingBeforeChoosingAFileIsRefused() {
        Fixture f;
        f.click("cmdOpenFile");
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.messages.lastText(), QStringLiteral("请先选择文件再打开！"));
        QCOMPARE(f.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(f.messages.shown[0].icon, MsgIcon::Exclamation);
        QVERIFY(f.receiver.calls.isEmpty());
        QVERIFY(f.dialog.isVisible());
    }

    void choosingAFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QString>("message");
        const QString text = twentyCharacters();
        QTest::newRow("crlf_lines_joined")
            << (text.left(10) + "\r\n" + text.mid(10)).toUtf8() << text << true << QString();
        QTest::newRow("gbk") << QByteArray(QStringEncoder("GB18030")(text + "\n")) << text << true
                             << QString();
        QTest::newRow("too_short") << text.left(19).toUtf8() << QString() << false
                                   << QStringLiteral("此文件中的汉字太少，不适于进行分词测试！");
        QTest::newRow("empty") << QByteArray() << QString() << false
                               << QStringLiteral("此文件中的汉字太少，不适于进行分词测试！");
        // A file that is no text leaves the earlier choice in place.
        QTest::newRow("binary") << QByteArray("MZ\0\0\x90\0", 6) << QStringLiteral("earlier")
                                << true << QStringLiteral("此文件不是文本文件，不能进行分词测试！");
    }
    void choosingAFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, chosen);
        QFETCH(QString, message);
        Fixture f;
        f.choose(f.write("earlier.txt", twentyCharacters().toUtf8()));
        QVERIFY(f.dialog.fileChosen());

        f.choose(f.write("chosen.txt", bytes));
        QCOMPARE(f.fileDialog.filters.last(), QStringLiteral("文本文件(*.txt)"));
        QCOMPARE(f.shownText(), shown == "earlier" ? twentyCharacters() : shown);
        QCOMPARE(f.dialog.fileChosen(), chosen);
        if (message.isEmpty()) {
            QVERIFY(f.messages.shown.isEmpty());
        } else {
            QCOMPARE(f.messages.shown.size(), 1);
            QVERIFY(f.messages.lastText().startsWith(message));
            QCOMPARE(f.messages.shown[0].icon, MsgIcon::Exclamation);
        }
    }

    void thePreviewSaysWhenTheTextWasCut() {
        Fixture f;
        auto *label = f.control<QLabel>("lblFileContent");
        QCOMPARE(label->text(), QStringLiteral("文件内容："));
        f.choose(f.write("long.txt", QString(2500, QChar(0x5B57)).toUtf8()));
        QCOMPARE(f.shownText().size(), 2000);
        QCOMPARE(label->text(), QStringLiteral("文件内容（只取前2000个字）："));
        QVERIFY(f.messages.shown.isEmpty()); // said in the dialog, not in a message box
        f.choose(f.write("short.txt", twentyCharacters().toUtf8()));
        QCOMPARE(label->text(), QStringLiteral("文件内容："));
    }

    void anUnreadableFileIsReportedAndACancelChangesNothing() {
        Fixture f;
        f.choose(f.write("good.txt", twentyCharacters().toUtf8()));
        f.choose(f.files.filePath("gone.txt"));
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.lastText().startsWith(QStringLiteral("无法读取此文件！")));
        QVERIFY(f.messages.lastText().contains(QStringLiteral("gone.txt")));

        f.click("cmdSelectFile"); // the file dialog is cancelled
        QCOMPARE(f.messages.shown.size(), 1);
        QCOMPARE(f.shownText(), twentyCharacters());
        QVERIFY(f.dialog.fileChosen());
    }

    void openingHandsTheFilteredTextToTheTestWindow() {
        Fixture f;
        QFile filters(f.appDir.filePath("Filter.dat"));
        QVERIFY(filters.open(QIODevice::WriteOnly));
        filters.write(QStringEncoder("GB18030")(QStringLiteral(",      逗号\r\n")));
        filters.close();
        const QString cleaned = QStringLiteral("Windows系统，我们[学习·好天天向上");
        f.library->tagsFor.insert(cleaned, QStringLiteral("444444400211011201111"));
        f.state.test.RightCount = 3;
        f.state.derived.textTables = coding::TextTables{};

        f.choose(
            f.write("text.txt", QStringLiteral("Windows 系统，\r\n我们[学习·好天天向上").toUtf8()));
        QCOMPARE(f.shownText(), cleaned);
        f.click("cmdOpenFile");

        QCOMPARE(f.messages.shown.size(), 0);
        QCOMPARE(f.receiver.calls.size(), 1);
        const prepare::PreparedText expected{QStringLiteral("系统我们［学习.好天天向上"),
                                             QStringLiteral("0011011201111")};
        QCOMPARE(f.receiver.calls[0].prepared.text, expected.text);
        QCOMPARE(f.receiver.calls[0].prepared.tags, expected.tags);
        QCOMPARE(f.state.text.SegmentTags, expected.tags);
        QCOMPARE(f.state.test.RightCount, 0);
        QVERIFY(!f.state.derived.WordTableDone());
        auto *bar = f.control<QProgressBar>("prgBar");
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 13);
        QCOMPARE(bar->value(), 13);
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
        QVERIFY(!f.dialog.isVisible());
    }

    void withoutFiltersOnlyPunctuationIsWidened() {
        Fixture f;
        const QString cleaned = QStringLiteral("Windows系统,我们[学习·好天天向上");
        f.library->tagsFor.insert(cleaned, QStringLiteral("444444400200000000000"));
        f.choose(f.write("text.txt", cleaned.toUtf8()));
        f.click("chkUseFilter");
        f.click("chkAlpha");
        f.click("cmdOpenFile");
        QCOMPARE(f.receiver.calls.size(), 1);
        QCOMPARE(f.receiver.calls[0].prepared.text,
                 QStringLiteral("Windows系统，我们[学习.好天天向上"));
    }

    void theEditorGetsTheWorkedExample() {
        Fixture f;
        f.state.editor.EditorIsTarget = true;
        const QString cleaned = QStringLiteral("我们学习。我们学习。我们学习。我们学习。");
        f.library->tagsFor.insert(cleaned, QStringLiteral("00112001120011200112"));
        f.choose(f.write("text.txt", cleaned.toUtf8()));
        f.click("cmdOpenFile");
        QCOMPARE(f.receiver.calls.size(), 1);
        const QString separated =
            QStringLiteral("我们 学习 。 我们 学习 。 我们 学习 。 我们 学习 。");
        QCOMPARE(f.receiver.calls[0].prepared.text, separated);
        QCOMPARE(f.state.editor.InitialSegmentation, separated);
        QCOMPARE(f.state.text.SegmentTags, QStringLiteral("00311323").repeated(4).chopped(1));
    }

    void failuresKeepTheDialogOpen_data() {
        QTest::addColumn<bool>("brokenLibrary");
        QTest::newRow("library_cannot_load") << true;
        QTest::newRow("filter_list_unreadable") << false;
    }
    void failuresKeepTheDialogOpen() {
        QFETCH(bool, brokenLibrary);
        Fixture f;
        if (brokenLibrary)
            f.library->loadError = QStringLiteral("分词词库已损坏或不存在，无法分词！");
        else
            QVERIFY(QDir(f.appDir.path()).mkdir(QStringLiteral("filter.dat")));
        f.choose(f.write("text.txt", twentyCharacters().toUtf8()));
        f.click("cmdOpenFile");
        QCOMPARE(f.messages.shown.size(), 1);
        QVERIFY(f.messages.lastText().contains(brokenLibrary ? QStringLiteral("分词词库")
                                                             : QStringLiteral("filter.dat")));
        QVERIFY(f.receiver.calls.isEmpty());
        QVERIFY(f.dialog.isVisible());
        if (!brokenLibrary) {
            // Without the symbol filter the list is not needed.
            f.library->tagsFor.insert(twentyCharacters(),
                                      QString(twentyCharacters().size() - 1, QLatin1Char('0')) +
                                          QLatin1Char('2'));
            f.click("chkUseFilter");
            f.click("cmdOpenFile");
            QCOMPARE(f.receiver.calls.size(), 1);
        }
    }

    void aTextWithoutChineseCharactersIsRefused() {
        // Letters and digits filtered away leave only widened full stops.
        Fixture f;
        const QString cleaned = QStringLiteral("ThequickbrownfoxjumpsoverthelazydogItwassunny.");
        QString tags(cleaned.size(), QLatin1Char('4'));
        tags.back() = QLatin1Char('2');
        f.library->tagsFor.insert(cleaned, tags);
        f.choose(
            f.write("english.txt", "The quick brown fox jumps over the lazy dog It was sunny."));
        QCOMPARE(f.shownText(), cleaned);
        f.click("cmdOpenFile");
        QCOMPARE(f.messages.lastText(), QStringLiteral("此文件中的汉字太少，不适于进行分词测试！"));
        QVERIFY(f.receiver.calls.isEmpty());
        QVERIFY(f.dialog.isVisible());
        // With the letters kept there is still no Chinese character to type.
        f.click("chkAlpha");
        f.click("cmdOpenFile");
        QCOMPARE(f.messages.shown.size(), 2);
        QVERIFY(f.receiver.calls.isEmpty());
    }

    void exitAndEscapeHandNothingOver() {
        for (const bool escape : {false, true}) {
            Fixture f;
            f.choose(f.write("text.txt", twentyCharacters().toUtf8()));
            if (escape)
                QTest::keyClick(&f.dialog, Qt::Key_Escape);
            else
                f.click("cmdExit");
            QVERIFY(!f.dialog.isVisible());
            QCOMPARE(f.dialog.result(), int(QDialog::Rejected));
            QVERIFY(f.receiver.calls.isEmpty());
        }
    }
};

QTEST_MAIN(FrmOpenFileTest)
#include "frmopenfile_test.moc"
