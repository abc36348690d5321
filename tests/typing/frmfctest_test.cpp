// The test window driven offscreen through its controls: loading with its
// pictures, opening a text, start, pause, resume and end with a clock that the
// test sets, the typed-input checking with input-method events, the code hint,
// the countdown, the layout limits and the result dialog.

#include "typing/frmfctest.h"
#include "typing/testtextview.h"
#include "typing/typingbox.h"
#include "widgets/picturebutton.h"

#include "coding/colorref.h"
#include "coding/rtf.h"
#include "coding/textcolouring.h"
#include "fixturedatabase.h"
#include "options/frmoptions.h"
#include "prepare/examplefile.h"
#include "prepare/frmopenfile.h"
#include "prepare/handover.h"
#include "stats/dlgresult.h"
#include "stats/reportfiles.h"
#include "support/fakeinputmethodbackend.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"
#include "widgets/pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimer>

#include "history/resultshistory.h"
#include "typing/practice.h"

using coding::MsgIcon;
using typing::frmFcTest;

namespace {

constexpr qint64 kMinute = 60 * 1000;
constexpr qint32 kRight = 0x00FF00, kError = 0x0000FF;

// What the result dialog showed when the window opened it.
struct ShownResult {
    QString total, hz, time, accuracy, speed, effSpeed;
};

// A loaded test window over a private application directory with the pictures,
// a small code database, fake services and a fake input-method framework.
struct Window {
    explicit Window(const QList<qint16> &pictures = {101, 102, 103},
                    const coding::fixture::CodeRows &rows = coding::fixture::standardRows()) {
        const auto dir = coding::AppDirectory::at(appDir.path());
        for (qint16 id : pictures)
            widgets::ExtractResourceFile(dir, id, widgets::kPictureType,
                                         widgets::pictureFileName(id));
        coding::fixture::writeCodeDatabase(dir.filePath(QStringLiteral("jtdb.dat")), rows);
        library = new coding::FakeLibrary;
        state = std::make_unique<coding::AppState>(
            dir, std::unique_ptr<coding::SegmentationLibrary>(library));
        state->services = {&messages, &files, &colors, &clock, nullptr};
        ime.installed = {{QStringLiteral("table:qorvan"), QStringLiteral("Qorvan输入法第四版")}};
        state->inputMethod.backend = &ime;
        state->inputMethod.ImeLayoutHandle = QStringLiteral("table:qorvan");
        state->inputMethod.EnglishLayoutHandle = ime.englishId();
        window = std::make_unique<frmFcTest>(*state);
        window->execDialog = [this](QDialog &dialog) { return runDialog(dialog); };
    }

    // Loads and shows the window with the colours the tests expect.
    bool load() {
        if (!window->Form_Load())
            return false;
        state->settings.RightColor = kRight;
        state->settings.ErrorColor = kError;
        state->settings.NeedFc = true;
        state->settings.NeedJmTips = true;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // The dialogs the window runs: the open-file dialog hands over the text the
    // test chose, the result dialog is read and (unless told otherwise) left
    // through its exit.
    int runDialog(QDialog &dialog) {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        if (qobject_cast<prepare::frmOpenFile *>(&dialog)) {
            if (openThroughControls) {
                dialog.show();
                files.openAnswers.enqueue(textFile);
                QTest::mouseClick(dialog.findChild<QAbstractButton *>("cmdSelectFile"),
                                  Qt::LeftButton);
                QTest::mouseClick(dialog.findChild<QAbstractButton *>("cmdOpenFile"),
                                  Qt::LeftButton);
            } else if (!handOverText.text.isEmpty()) {
                prepare::handOver(*state, *window, handOverText, {});
            }
            return 1;
        }
        if (auto *result = qobject_cast<stats::DlgResult *>(&dialog)) {
            results << ShownResult{result->lblTotal->text(), result->lblHz->text(),
                                   result->lblTime->text(),  result->lblRgtRate->text(),
                                   result->lblRate->text(),  result->lblEffRate->text()};
            if (leaveResult)
                QTest::mouseClick(result->cmdOk, Qt::LeftButton);
        }
        if (auto *options = qobject_cast<options::frmOptions *>(&dialog)) {
            options->show();
            if (onOptions)
                onOptions(*options);
            return options->result();
        }
        return 0;
    }

    // Opens a text through "打开测试文件(&O)…" (the open-file dialog's hand-over).
    void open(const QString &text, const QString &tags) {
        handOverText = {text, tags};
        window->mnuOpenTestFile->trigger();
    }
    void start() { QTest::mouseClick(window->CmdStartTest, Qt::LeftButton); }
    void pause() { QTest::mouseClick(window->CmdPauTest, Qt::LeftButton); }
    void end() { QTest::mouseClick(window->CmdEndTest, Qt::LeftButton); }
    // One commit of the input method into the input box, after a pause.
    void commit(const QString &text, qint64 pauseMs = 500) {
        clock.advance(pauseMs);
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(window->tmpText, &event);
    }
    void preedit(const QString &text) {
        QInputMethodEvent event(text, {});
        QApplication::sendEvent(window->tmpText, &event);
    }
    void key(Qt::Key k) { QTest::keyClick(window->tmpText, k); }
    QString panel(int i) const { return window->StatusBar1Panels[size_t(i)]->text(); }
    qint32 colourAt(int position) {
        QTextCursor cursor(window->mainText->document());
        cursor.setPosition(position + 1);
        return coding::colorRefFromColor(cursor.charFormat().foreground().color());
    }
    QString tempCopy() const { return appDir.filePath(QStringLiteral("temp.zh")); }
    // A results history of the window's own, in the application directory's folder.
    history::ResultsHistory &withHistory() {
        recorded = std::make_unique<history::ResultsHistory>(
            appDir.filePath(QStringLiteral("data/history.sqlite")));
        state->history = recorded.get();
        return *recorded;
    }

    QTemporaryDir appDir;
    coding::FakeLibrary *library = nullptr; // owned by state
    coding::FakeMessages messages;
    coding::FakeFiles files;
    coding::FakeColors colors;
    coding::FakeClock clock;
    ime::FakeInputMethodBackend ime;
    std::unique_ptr<history::ResultsHistory> recorded; // outlives the state and the window
    std::unique_ptr<coding::AppState> state;
    std::unique_ptr<frmFcTest> window;

    prepare::PreparedText handOverText;
    bool openThroughControls = false;
    QString textFile;
    bool leaveResult = true;
    std::function<void(options::frmOptions &)> onOptions; // drives the options dialog
    QStringList dialogs;
    QList<ShownResult> results;
};

const QString kText = QStringLiteral("我们学习好。");
const QString kTags = QStringLiteral("001102");

} // namespace

class FrmFcTestTest : public QObject {
    Q_OBJECT

private slots:
    void loadsWithEveryControlInItsState() {
        Window w;
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        QCOMPARE(f.windowTitle(), QStringLiteral("分词测试"));
        const struct {
            QAbstractButton *button;
            const char *name, *caption;
            bool enabled;
        } buttons[] = {{f.CmdStartTest, "CmdStartTest", "开始测试", true},
                       {f.CmdPauTest, "CmdPauTest", "暂停测试", false},
                       {f.CmdEndTest, "CmdEndTest", "结束测试", false},
                       {f.cmdFile, "cmdFile", "文   件", true},
                       {f.CmdCalc, "CmdCalc", "统计信息", true},
                       {f.CmdSetting, "CmdSetting", "选项设置", true},
                       {f.CmdQuit, "CmdQuit", "退   出", true}};
        for (const auto &b : buttons) {
            QCOMPARE(b.button->objectName(), QString::fromLatin1(b.name));
            QCOMPARE(b.button->text(), QString::fromUtf8(b.caption));
            QCOMPARE(b.button->isEnabled(), b.enabled);
            // Every command button wears 102.jpg and, disabled, 103.jpg.
            const auto *picture = qobject_cast<const widgets::PictureButton *>(b.button);
            QVERIFY(picture && !picture->face().isNull() && !picture->disabledFace().isNull());
        }
        QCOMPARE(f.LabelFc->text(), QStringLiteral("欢迎进入分词测试！"));
        QVERIFY(
            f.lblTips->text().startsWith(QStringLiteral("\n\n    本单元根据用户打开的文本文件")));
        QVERIFY(f.lblTips->text().contains(
            QStringLiteral("信息。\n    系统还提供保存分词结果和统计信息的功能")));
        QVERIFY(f.lblTips->text().endsWith(QStringLiteral("记录自己的练习成绩。\n\n")));
        QVERIFY(f.LabelFc->isVisible() && f.lblTips->isVisible() && f.Shape1->isVisible());
        QVERIFY(f.mainText->isHidden());
        QVERIFY(f.tmpText->isHidden());
        QCOMPARE(w.panel(0), QStringLiteral("欢迎进入分词测试"));
        QCOMPARE(w.panel(1), QString());
        QVERIFY(f.Timer1->isActive());
        QVERIFY(!f.tmrLimitTime->isActive());

        const struct {
            QAction *action;
            const char *name, *caption;
            bool enabled;
        } items[] = {{f.mnuOpenTestFile, "mnuOpenTestFile", "打开测试文件(&O)…", true},
                     {f.mnuOpenExample, "mnuOpenExample", "打开分词例文(&E)…", true},
                     {f.mnuAddWord, "mnuAddWord", "添加自定义词…", true},
                     {f.mnuSaveTestFile, "mnuSaveTestFile", "保存分词结果…", false},
                     {f.mnuSaveResult, "mnuSaveResult", "保存分词例文(&S)…", false},
                     {f.mnuStaInfo, "mnuStaInfo", "统计信息(&C)…", false},
                     {f.mnuStaSave, "mnuStaSave", "保存结果(&S)…", false}};
        for (const auto &i : items) {
            // Other windows find the items by their names.
            QCOMPARE(f.findChild<QAction *>(QString::fromLatin1(i.name)), i.action);
            QCOMPARE(i.action->text(), QString::fromUtf8(i.caption));
            QCOMPARE(i.action->isEnabled(), i.enabled);
        }
        QCOMPARE(f.mnuFile->title(), QStringLiteral("文件(&F)"));
        QCOMPARE(f.mnuCalc->title(), QStringLiteral("统计(&S)"));
        QVERIFY(!w.state->editor.EditorIsTarget);
        QVERIFY(!w.state->derived.ResultStatsReady());
        QVERIFY(!w.state->derived.MoreInfoStatsReady());
        QVERIFY(f.minimumWidth() >= 600 && f.minimumHeight() >= 533);
    }

    void aMissingPictureEndsTheProgram_data() {
        QTest::addColumn<QList<qint16>>("pictures");
        QTest::newRow("no background") << QList<qint16>{102, 103};
        QTest::newRow("no button face") << QList<qint16>{101, 103};
        QTest::newRow("no disabled face") << QList<qint16>{101, 102};
    }
    void aMissingPictureEndsTheProgram() {
        QFETCH(QList<qint16>, pictures);
        Window w(pictures);
        QVERIFY(!w.window->Form_Load());
        QCOMPARE(w.messages.shown.size(), 1);
        QCOMPARE(w.messages.lastText(), QStringLiteral("背景图片文件不完整，请重新启动程序！"));
        QCOMPARE(w.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(w.messages.shown[0].icon, MsgIcon::Critical);
    }

    void startWithoutATextIsRefused() {
        Window w;
        QVERIFY(w.load());
        w.start();
        QCOMPARE(w.messages.lastText(), QStringLiteral("请先打开测试文件！"));
        QCOMPARE(w.messages.shown.last().title, QStringLiteral("提示信息"));
        QCOMPARE(w.messages.shown.last().icon, MsgIcon::Exclamation);
        QVERIFY(!w.window->testRunning());
        QVERIFY(w.window->CmdStartTest->isEnabled());
        QVERIFY(w.ime.activations.isEmpty());
        QVERIFY(!QFile::exists(w.tempCopy()));
    }

    void aTextArrivesThroughTheOpenFileDialog() {
        Window w;
        QVERIFY(w.load());
        const QString text = QStringLiteral("我们学习汉语，这是一篇用来测试分词的短文。");
        w.library->tagsFor.insert(text, QStringLiteral("001111200110011110012"));
        QTemporaryDir files;
        w.textFile = files.filePath(QStringLiteral("a.txt"));
        QFile file(w.textFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        QFile stale(w.tempCopy()); // a copy of an earlier text goes
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();

        w.openThroughControls = true;
        w.window->mnuOpenTestFile->trigger();
        QCOMPARE(w.dialogs, QStringList{QStringLiteral("prepare::frmOpenFile")});
        QVERIFY(w.window->mainText->isVisible());
        QCOMPARE(w.window->mainText->toPlainText(), text);
        QCOMPARE(w.state->text.SegmentTags, QStringLiteral("001111200110011110012"));
        QCOMPARE(w.colourAt(0), w.state->settings.AltColor1);
        QCOMPARE(w.colourAt(2), w.state->settings.AltColor2);
        QCOMPARE(w.state->text.HzCount + w.state->text.SymCount + w.state->text.AlphaCount,
                 int(text.size()));
        QVERIFY(w.window->mnuSaveTestFile->isEnabled());
        QVERIFY(w.window->mnuSaveResult->isEnabled()); // NeedFc is on
        QVERIFY(w.window->mnuStaInfo->isEnabled() && w.window->mnuStaSave->isEnabled());
        QVERIFY(!QFile::exists(w.tempCopy()));
        QVERIFY(w.window->tmpText->isHidden()); // until the test starts
    }

    void startRunsATest() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        QVERIFY(!w.window->CmdPauTest->isEnabled());
        w.start();
        frmFcTest &f = *w.window;
        QVERIFY(f.testRunning());
        for (QWidget *off :
             {static_cast<QWidget *>(f.cmdFile), static_cast<QWidget *>(f.CmdStartTest),
              static_cast<QWidget *>(f.CmdCalc), static_cast<QWidget *>(f.CmdSetting),
              static_cast<QWidget *>(f.CmdQuit)})
            QVERIFY(!off->isEnabled());
        for (QAction *off : {f.mnuSaveTestFile, f.mnuOpenTestFile, f.mnuOpenExample,
                             f.mnuSaveResult, f.mnuStaInfo, f.mnuStaSave})
            QVERIFY(!off->isEnabled());
        QVERIFY(f.CmdPauTest->isEnabled() && f.CmdEndTest->isEnabled());
        QVERIFY(f.tmpText->isVisible());
        QTRY_VERIFY(f.tmpText->hasFocus());
        QVERIFY(f.LabelFc->isHidden() && f.lblTips->isHidden() && f.Shape1->isHidden());
        // The input method is switched on once the box has the focus.
        QCOMPARE(w.ime.activations, QStringList{QStringLiteral("table:qorvan")});
        // The coloured text is saved, and the first character is marked.
        QVERIFY(QFile::exists(w.tempCopy()));
        QCOMPARE(f.typingCheck().position(), 0);
        QCOMPARE(f.mainText->markPosition(), 0);
        QCOMPARE(f.mainText->markLength(), 1);
        QCOMPARE(w.colourAt(0), w.state->settings.AltColor1); // the mark leaves the colour
        // The box sits over the lower right corner of the text.
        const QRect text = f.mainText->geometry(), box = f.tmpText->geometry();
        QCOMPARE(box.bottom(), text.bottom());
        QCOMPARE(box.right(), text.right() - 27);
    }

    void withoutAutoOpenImeTheInputMethodStaysAsItIs() {
        Window w;
        QVERIFY(w.load());
        w.state->settings.AutoOpenIme = false;
        w.open(kText, kTags);
        w.start();
        QTRY_VERIFY(w.window->tmpText->hasFocus());
        QVERIFY(w.ime.activations.isEmpty());
        w.pause(); // pausing switches to English all the same
        QCOMPARE(w.ime.activations, QStringList{QStringLiteral("english")});
        w.pause();
        QCOMPARE(w.ime.activations.size(), 1);
    }

    void aOneCharacterTextEndsWithItsCharacter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("err");
        QTest::newRow("right") << QStringLiteral("好") << 1 << 0;
        QTest::newRow("wrong") << QStringLiteral("女") << 0 << 1;
    }
    void aOneCharacterTextEndsWithItsCharacter() {
        QFETCH(QString, typed);
        QFETCH(int, right);
        QFETCH(int, err);
        Window w;
        QVERIFY(w.load());
        w.leaveResult = false;
        w.open(QStringLiteral("好"), QStringLiteral("0"));
        w.start();
        w.commit(typed, 2000);
        QVERIFY(!w.window->testRunning());
        QCOMPARE(w.state->test.RightCount, right);
        QCOMPARE(w.state->test.ErrCount, err);
        QCOMPARE(w.colourAt(0), right ? kRight : kError);
        // The input method goes back to English and the result opens.
        QCOMPARE(w.ime.activations.last(), QStringLiteral("english"));
        QTRY_COMPARE(w.results.size(), 1);
        QCOMPARE(w.results[0].time, QStringLiteral("0:00:02"));
        QCOMPARE(w.state->test.TestDuration, 2000);
        QVERIFY(w.state->derived.ResultStatsReady());
        QVERIFY(w.window->CmdStartTest->isEnabled() && w.window->mnuStaInfo->isEnabled());
        QVERIFY(!w.window->CmdPauTest->isEnabled());
        // The key that committed the character counts.
        QCOMPARE(w.state->test.KeyPressCount, 1);
    }

    void wrongThenBackspaceThenRight() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        w.commit(QStringLiteral("找"));
        QCOMPARE(w.colourAt(0), kError);
        QCOMPARE(w.state->test.ErrCount, 1);
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.window->typingCheck().position(), 0);
        w.commit(QStringLiteral("我"));
        QCOMPARE(w.state->test.RightCount, 1);
        QCOMPARE(w.state->test.ErrCount, 0);
        QCOMPARE(w.colourAt(0), kRight);
        w.key(Qt::Key_Left);
        QCOMPARE(w.window->typingCheck().position(), 0);
        QCOMPARE(w.state->test.KeyPressCount, 2); // Backspace and Left
        QCOMPARE(w.state->test.TypedText, QStringLiteral("我我"));
    }

    void theRightArrowStopsAtTheLastCharacter() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        for (int i = 0; i < 10; ++i)
            w.key(Qt::Key_Right);
        QCOMPARE(w.window->typingCheck().position(), int(kText.size()) - 1);
        QVERIFY(w.window->testRunning());
        QCOMPARE(w.state->test.KeyPressCount, 10);
        QCOMPARE(w.state->test.RightCount + w.state->test.ErrCount, 0);
    }

    void commitsAreCheckedCharacterByCharacterInBursts() {
        Window w;
        QVERIFY(w.load());
        w.open(QStringLiteral("我们学习好好学习我们学习"), QStringLiteral("001100110011"));
        w.start();
        w.commit(QStringLiteral("我们学")); // one commit, one tick: one burst
        QCOMPARE(w.state->test.RightCount, 3);
        QCOMPARE(w.window->typingCheck().position(), 3);
        w.commit(QStringLiteral("习"), 500);
        QCOMPARE(w.state->test.TypedWordCounts, (std::array<int, 5>{0, 0, 1, 0, 0}));
        w.commit(QStringLiteral("好好学习我们学"), 500); // seven, counted as five
        w.commit(QStringLiteral("习"), 500);
        QCOMPARE(w.state->test.TypedWordCounts, (std::array<int, 5>{1, 0, 1, 0, 1}));
        QCOMPARE(w.state->test.TypedText, QStringLiteral("我们学习好好学习我们学习"));
        QVERIFY(!w.window->testRunning()); // the text has ended
        QTRY_COMPARE(w.results.size(), 1);
    }

    void thePreeditIsShownAndNeverChecked() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        const int restWidth = w.window->tmpText->width();
        w.preedit(QStringLiteral("2355"));
        QCOMPARE(w.window->tmpText->preedit(), QStringLiteral("2355"));
        QVERIFY(w.window->tmpText->width() > restWidth); // wide enough to show the code
        QCOMPARE(w.state->test.RightCount + w.state->test.ErrCount, 0);
        QCOMPARE(w.window->typingCheck().position(), 0);
        w.commit(QStringLiteral("我"));
        QCOMPARE(w.state->test.RightCount, 1);
        QCOMPARE(w.window->tmpText->text(), QString()); // the commit never stays in the box
        QCOMPARE(w.window->tmpText->width(), restWidth);
        // The candidate window goes next to the box.
        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QApplication::sendEvent(w.window->tmpText, &query);
        const QRect caret = query.value(Qt::ImCursorRectangle).toRect();
        QVERIFY(!caret.isEmpty());
        QVERIFY(w.window->tmpText->rect().contains(caret));
    }

    void thePreeditAndTheCandidateWindowLeaveTheBoxInSight_data() {
        QTest::addColumn<int>("typedFirst");
        QTest::addColumn<QString>("preedit");
        QTest::newRow("a code, box at the corner") << 0 << QStringLiteral("2352");
        QTest::newRow("a word, box at the corner") << 0 << QStringLiteral("出谋划策");
        QTest::newRow("a code, box at the left") << 200 << QStringLiteral("235272");
        QTest::newRow("a long word, box at the left")
            << 200 << QStringLiteral("中华人民共和国万岁");
    }

    void thePreeditAndTheCandidateWindowLeaveTheBoxInSight() {
        QFETCH(int, typedFirst);
        QFETCH(QString, preedit);
        Window w;
        QVERIFY(w.load());
        QString text;
        while (text.size() < 260)
            text += kText;
        w.open(text, QString(text.size(), QLatin1Char('0')));
        w.start();
        for (int i = 0; i < typedFirst; i += 10)
            w.commit(text.mid(i, 10));
        typing::TypingBox *box = w.window->tmpText;
        w.preedit(preedit);
        // The box holds its font's line and the whole pre-edit, inside the window.
        QVERIFY(box->height() >= box->sizeHint().height());
        const QRect inside = box->contentsRect() - box->textMargins();
        QVERIFY2(box->fontMetrics().horizontalAdvance(preedit) <= inside.width(),
                 qPrintable(QString::number(box->width())));
        QVERIFY(box->parentWidget()->rect().contains(box->geometry()));
        QVERIFY(w.window->mainText->geometry().contains(box->geometry()));
        // The candidate window is put beside the box's full height: below or above
        // it, never over the pre-edit.
        QInputMethodQueryEvent query(Qt::ImCursorRectangle);
        QApplication::sendEvent(box, &query);
        const QRect caret = query.value(Qt::ImCursorRectangle).toRect();
        QCOMPARE(caret.top(), 0);
        QCOMPARE(caret.bottom(), box->rect().bottom());
        QVERIFY(caret.left() >= 0 && caret.left() < box->width());
        // A commit that brings the next code's pre-edit shows that pre-edit.
        w.clock.advance(500);
        QInputMethodEvent next(QStringLiteral("23"), {});
        next.setCommitString(text.mid(typedFirst, 1));
        QApplication::sendEvent(box, &next);
        QCOMPARE(w.window->typingCheck().position(), typedFirst + 1);
        QCOMPARE(box->preedit(), QStringLiteral("23"));
        QCOMPARE(box->text(), QString());
    }

    void typingWithoutTheInputMethodIsCheckedToo() {
        Window w;
        QVERIFY(w.load());
        w.open(QStringLiteral("ab好"), QStringLiteral("442"));
        w.start();
        QTest::keyClicks(w.window->tmpText, QStringLiteral("aB"));
        QCOMPARE(w.state->test.RightCount, 1);
        QCOMPARE(w.state->test.ErrCount, 1);
        QCOMPARE(w.window->tmpText->text(), QString());
        QCOMPARE(w.state->test.KeyPressCount, 2);
        // A key held down repeats; it is let go once.
        QTest::sendKeyEvent(QTest::Release, w.window->tmpText, Qt::Key_X, 'x', Qt::NoModifier);
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"), true);
        QApplication::sendEvent(w.window->tmpText, &repeat);
        QCOMPARE(w.state->test.KeyPressCount, 3);
    }

    void f2ShowsTheCodeOfTheCurrentWord_data() {
        QTest::addColumn<int>("moves");
        QTest::addColumn<QString>("hint");
        QTest::newRow("first character of a word") << 0 << QStringLiteral("'我们'的编码为:235272");
        QTest::newRow("second character of a word")
            << 1 << QStringLiteral("'们'的编码为:27220,简码为：272");
        QTest::newRow("a word with a short code")
            << 2 << QStringLiteral("'学习'的编码为:324171,简码为：3241");
        QTest::newRow("a character without a code") << 4 << QStringLiteral("没有'乙'的编码！");
    }
    void f2ShowsTheCodeOfTheCurrentWord() {
        QFETCH(int, moves);
        QFETCH(QString, hint);
        Window w;
        QVERIFY(w.load());
        w.open(QStringLiteral("我们学习乙。"), QStringLiteral("001102"));
        w.start();
        for (int i = 0; i < moves; ++i)
            w.key(Qt::Key_Right);
        w.key(Qt::Key_F2);
        QCOMPARE(w.panel(0), hint);
        QVERIFY(w.messages.shown.isEmpty());
    }

    void f2NamesTheCandidateWhenItIsNotTheFirst_data() {
        QTest::addColumn<bool>("withCandidates");
        QTest::addColumn<int>("moves");
        QTest::addColumn<QString>("hint");
        QTest::newRow("a word second under its code")
            << true << 2 << QStringLiteral("'变化'的编码为:004242,第2个候选");
        QTest::newRow("a character second under its code")
            << true << 4 << QStringLiteral("'变'的编码为:00400,第2个候选");
        QTest::newRow("the first candidate of its short code")
            << true << 0 << QStringLiteral("'文化'的编码为:004242,简码为：0042");
        QTest::newRow("a character without a code")
            << true << 6 << QStringLiteral("没有'乙'的编码！");
        // A database of an older release has no candidate places: the codes alone.
        QTest::newRow("no candidates in the database")
            << false << 2 << QStringLiteral("'变化'的编码为:004242");
    }
    void f2NamesTheCandidateWhenItIsNotTheFirst() {
        QFETCH(bool, withCandidates);
        QFETCH(int, moves);
        QFETCH(QString, hint);
        coding::fixture::CodeRows rows = coding::fixture::standardRows();
        if (!withCandidates)
            rows.candidates.reset();
        Window w({101, 102, 103}, rows);
        QVERIFY(w.load());
        w.open(QStringLiteral("文化变化变好乙。"), QStringLiteral("00110102"));
        w.start();
        // A hint at the first word before, so that the window's table is in use.
        w.key(Qt::Key_F2);
        QCOMPARE(w.panel(0), QStringLiteral("'文化'的编码为:004242,简码为：0042"));
        for (int i = 0; i < moves; ++i)
            w.key(Qt::Key_Right);
        w.key(Qt::Key_F2);
        QCOMPARE(w.panel(0), hint);
        QVERIFY(w.messages.shown.isEmpty());
        QVERIFY(w.window->testRunning());
    }

    void lettersAndDigitsAreTypedInEnglish() {
        Window w;
        QVERIFY(w.load());
        w.open(QStringLiteral("我们AB学习。"), QStringLiteral("0044112"));
        w.start();
        QTRY_VERIFY(w.window->tmpText->hasFocus());
        const QString qorvan = QStringLiteral("table:qorvan"), english = QStringLiteral("english");
        QCOMPARE(w.ime.activations, QStringList{qorvan});
        w.commit(QStringLiteral("我们"));
        QCOMPARE(w.ime.activations, (QStringList{qorvan, english}));
        QTest::keyClicks(w.window->tmpText, QStringLiteral("A")); // typed without the input method
        QCOMPARE(w.ime.activations.size(), 2);                    // still a letter
        w.key(Qt::Key_Right);
        QCOMPARE(w.ime.activations, (QStringList{qorvan, english, qorvan}));
        w.key(Qt::Key_Backspace);
        QCOMPARE(w.ime.activations.last(), english);
        QTest::keyClicks(w.window->tmpText, QStringLiteral("B"));
        QCOMPARE(w.ime.activations, (QStringList{qorvan, english, qorvan, english, qorvan}));
        QCOMPARE(w.state->test.RightCount, 4);
        QCOMPARE(w.window->typingCheck().position(), 4);
    }

    void twoPausesAreTakenOffTheDuration() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        w.clock.advance(kMinute);
        w.pause();
        frmFcTest &f = *w.window;
        QCOMPARE(f.CmdPauTest->text(), QStringLiteral("继续测试"));
        QVERIFY(!f.CmdEndTest->isEnabled());
        QCOMPARE(w.ime.activations.last(), QStringLiteral("english"));
        // While paused typed characters are not checked; they wait in the box.
        QTest::keyClicks(f.tmpText, QStringLiteral("x"));
        QCOMPARE(f.tmpText->text(), QStringLiteral("x"));
        QCOMPARE(w.state->test.ErrCount, 0);
        w.clock.advance(kMinute);
        w.pause(); // resume
        QCOMPARE(f.CmdPauTest->text(), QStringLiteral("暂停测试"));
        QVERIFY(f.CmdEndTest->isEnabled());
        QTRY_VERIFY(f.tmpText->hasFocus());
        QCOMPARE(w.ime.activations.last(), QStringLiteral("table:qorvan"));
        // The next arrival checks what waited in the box first.
        w.commit(QStringLiteral("们"), 0);
        QCOMPARE(w.state->test.ErrCount, 1);
        QCOMPARE(w.state->test.RightCount, 1);
        w.clock.advance(kMinute);
        w.pause();
        w.clock.advance(kMinute);
        w.pause();
        w.clock.advance(kMinute);
        w.leaveResult = false;
        w.end();
        QCOMPARE(w.state->test.TestDuration, 3 * kMinute);
        QCOMPARE(w.results.size(), 1);
        QCOMPARE(w.results[0].time, QStringLiteral("0:03:00"));
        QCOMPARE(w.results[0].accuracy, QStringLiteral("50.00%"));
        QCOMPARE(w.ime.activations.last(), QStringLiteral("english"));
        QCOMPARE(w.panel(0), QString());
    }

    void theCountdownEndsTheTest() {
        Window w;
        QVERIFY(w.load());
        w.state->settings.IsLimitTime = true;
        w.state->settings.LimitTimeLen = 5;
        w.open(kText, kTags);
        w.start();
        frmFcTest &f = *w.window;
        QVERIFY(f.tmrLimitTime->isActive());
        QVERIFY(!f.Timer1->isActive());
        QCOMPARE(f.remainingSeconds(), 300);
        f.tmrLimitTime_Timer();
        QCOMPARE(w.panel(1), QStringLiteral("0:4:59"));
        for (int i = 0; i < 52; ++i)
            f.tmrLimitTime_Timer();
        QCOMPARE(w.panel(1), QStringLiteral("0:4:7"));
        // Paused, the countdown stands still.
        w.pause();
        QVERIFY(!f.tmrLimitTime->isActive());
        w.pause();
        QVERIFY(f.tmrLimitTime->isActive());
        while (f.remainingSeconds() > 1)
            f.tmrLimitTime_Timer();
        QCOMPARE(w.panel(1), QStringLiteral("0:0:1"));
        QVERIFY(f.testRunning());
        QVERIFY(w.results.isEmpty());
        f.tmrLimitTime_Timer();
        QCOMPARE(w.panel(1), QStringLiteral("0:0:0"));
        QVERIFY(!f.testRunning());
        QCOMPARE(w.results.size(), 1);
        QVERIFY(!f.tmrLimitTime->isActive());
        QVERIFY(f.Timer1->isActive());
    }

    void anEndedTestGoesIntoTheHistoryAndCanBeReviewed() {
        Window w;
        history::ResultsHistory &results = w.withHistory();
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        QVERIFY(!f.mnuReview->isEnabled()); // no test yet
        QVERIFY(f.mnuHistory->isEnabled());
        w.open(kText, kTags);
        w.start();
        QVERIFY(!f.mnuHistory->isEnabled());
        // The live figures follow the typing and the clock.
        QCOMPARE(f.lblLiveFigures->text(), QStringLiteral("用时 0:00:00  速度 0字/分  正确率 —"));
        w.commit(QStringLiteral("我门"), kMinute);
        QVERIFY(f.tmrLiveFigures->isActive());
        QCOMPARE(f.tmrLiveFigures->interval(), 1000);
        QVERIFY(QMetaObject::invokeMethod(f.tmrLiveFigures, "timeout"));
        QCOMPARE(f.lblLiveFigures->text(),
                 QStringLiteral("用时 0:01:00  速度 2字/分  正确率 50.00%"));
        w.clock.advance(kMinute);
        QVERIFY(QMetaObject::invokeMethod(f.tmrLiveFigures, "timeout"));
        QCOMPARE(f.lblLiveFigures->text(),
                 QStringLiteral("用时 0:02:00  速度 1字/分  正确率 50.00%"));
        w.commit(QStringLiteral("学习好。"), 0);
        QTRY_COMPARE(w.results.size(), 1);
        QVERIFY(!f.tmrLiveFigures->isActive());

        QString error;
        const auto entries = results.entries(&error);
        QVERIFY2(entries && entries->size() == 1, qPrintable(error));
        QCOMPARE(entries->at(0).rightCount, 5);
        QCOMPARE(entries->at(0).wrongCount, 1);
        QCOMPARE(entries->at(0).textHead, kText);
        QCOMPARE(entries->at(0).durationMs, 2 * kMinute);
        QVERIFY(entries->at(0).bestKeysPerChar > 0); // 理论码长 beside the learner's
        const auto detail = results.detail(entries->at(0).id, &error);
        QVERIFY(detail);
        QCOMPARE(detail->mistakes,
                 (QList<history::Mistake>{{1, QStringLiteral("们"), QStringLiteral("门")}}));
        QCOMPARE(detail->tags, kTags);
        // The two commits, for the shortcuts the test missed.
        QCOMPARE(detail->inputs.size(), 2);
        QCOMPARE(detail->inputs[0].position, 0);
        QCOMPARE(detail->inputs[0].length, 2);
        QCOMPARE(detail->inputs[1].position, 2);
        QCOMPARE(detail->inputs[1].length, 4);

        // The result dialog reaches the history; the menu the review.
        QVERIFY(f.mnuReview->isEnabled());
        f.mnuReview->trigger();
        QCOMPARE(w.dialogs.last(), QStringLiteral("history::DlgReview"));
        // Seeing the result again records nothing more.
        f.mnuStaInfo->trigger();
        QCOMPARE(results.entries(&error)->size(), 1);
    }

    void aDrillOfTheWordsGotWrongOpensAsTheTestText() {
        Window w;
        w.withHistory();
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        // Nothing recorded yet: nothing to drill, and it says so.
        f.mnuDrill->trigger();
        QVERIFY(w.messages.lastText().startsWith(QStringLiteral("最近的测试中没有打错的词")));
        w.open(kText, kTags);
        w.start();
        w.commit(QStringLiteral("我门学习好。"), kMinute); // 们 wrong: the word 我们
        QTRY_COMPARE(w.results.size(), 1);
        f.mnuDrill->trigger();
        const QString drill = w.state->text.text;
        QCOMPARE(drill.count(QStringLiteral("我们")), 10); // 20 characters at least
        QVERIFY(drill.endsWith(QStringLiteral("。")));
        QCOMPARE(f.mainText->toPlainText(), drill);
        QVERIFY(f.CmdStartTest->isEnabled());
        QVERIFY(w.library->calls.contains(QStringLiteral("divide:") + drill)); // segmented
    }

    void aBuiltInLessonOpensAsTheTestText() {
        Window w;
        QFile items(w.appDir.filePath(QStringLiteral("qorvan.txt")));
        QVERIFY(items.open(QIODevice::WriteOnly));
        items.write("我们\t232800\t2328\t900\n学习\t324171\t\t800\n一\t10000\t1\t5000\n");
        items.close();
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        auto *lesson = f.findChild<QAction *>(QStringLiteral("mnuLesson0_1")); // 二字词 第1组
        QVERIFY(lesson);
        QVERIFY(f.mnuLessons->isEnabled());
        lesson->trigger();
        QCOMPARE(w.state->text.text,
                 typing::practiceText({QStringLiteral("我们"), QStringLiteral("学习")}, 2, 0));
        QCOMPARE(f.mainText->toPlainText(), w.state->text.text);
        // A set with no words says so and changes nothing.
        f.findChild<QAction *>(QStringLiteral("mnuLesson2_1"))->trigger(); // 四字词
        QCOMPARE(w.messages.lastText(), QStringLiteral("这一组没有可练习的词。"));
        QCOMPARE(f.mainText->toPlainText(), w.state->text.text);
        w.start();
        QVERIFY(!f.mnuLessons->isEnabled() && !f.mnuDrill->isEnabled());
    }

    void aFailureToRecordIsToldOnceAndTheResultShows() {
        Window w;
        history::ResultsHistory full(QStringLiteral("/dev/full"));
        w.state->history = &full;
        QVERIFY(w.load());
        for (int round = 0; round < 2; ++round) {
            w.open(kText, kTags);
            w.start();
            w.commit(kText, kMinute);
            QTRY_COMPARE(w.results.size(), round + 1);
        }
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY(w.messages.lastText().startsWith(QStringLiteral("这次测试的成绩未能记入成绩记录")));
    }

    void theClockShowsTheTimeOfDay() {
        Window w;
        QVERIFY(w.load());
        w.window->Timer1_Timer();
        QVERIFY(w.panel(1).contains(QStringLiteral("9")));
        QVERIFY(w.panel(1).contains(QStringLiteral("00")));
    }

    void aNewTextTakesNothingOfTheFormatsOfTheLastOne() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags); // 学习 and 好 have short codes: underlined
        // The view's cursor rests in an underlined word, as the typing leaves it.
        QTextCursor inWord(w.window->mainText->document());
        inWord.setPosition(3);
        w.window->mainText->setTextCursor(inWord);
        QVERIFY(coding::hasHintMark(w.window->mainText->currentCharFormat()));

        const QString second = QStringLiteral("我们，我们。");
        w.open(second, QStringLiteral("002002"));
        QCOMPARE(w.window->mainText->toPlainText(), second);
        for (int i = 0; i < int(second.size()); ++i) {
            QTextCursor c(w.window->mainText->document());
            c.setPosition(i + 1);
            QVERIFY2(!coding::hasHintMark(c.charFormat()), qPrintable(QString::number(i)));
        }
    }

    void theResultDialogsExitBringsTheColoursBack() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        const qint32 before = w.colourAt(1);
        w.start();
        w.commit(QStringLiteral("我"));
        w.commit(QStringLiteral("x"));
        QCOMPARE(w.colourAt(1), kError);
        w.end(); // the result dialog's exit is clicked
        QCOMPARE(w.results.size(), 1);
        QCOMPARE(w.results[0].total, QString::number(kText.size()));
        QCOMPARE(w.colourAt(0), w.state->settings.AltColor1);
        QCOMPARE(w.colourAt(1), before);
        QCOMPARE(w.window->mainText->toPlainText(), kText);
        // A new test starts on the text as it was.
        w.start();
        w.commit(QStringLiteral("我"));
        QCOMPARE(w.state->test.RightCount, 1);
        QCOMPARE(w.state->test.ErrCount, 0);
        // "统计信息(&C)…" shows the result again once the test has ended.
        w.end();
        w.window->mnuStaInfo->trigger();
        QCOMPARE(w.results.size(), 3);
    }

    void theTextTakesNoClicksButARightClickWelcomes() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        QTRY_VERIFY(w.window->tmpText->hasFocus());
        QWidget *viewport = w.window->mainText->viewport();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(w.window->tmpText->hasFocus());
        QVERIFY(!w.window->mainText->textCursor().hasSelection());
        QVERIFY(w.messages.shown.isEmpty());
        QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(20, 20));
        QCOMPARE(w.messages.shown.size(), 1);
        QCOMPARE(w.messages.lastText(), QStringLiteral("欢迎使用Qorvan输入法2006分词测试！"));
        QCOMPARE(w.messages.shown[0].title, QStringLiteral("欢迎信息"));
        QCOMPARE(w.messages.shown[0].icon, MsgIcon::Information);
        QVERIFY(w.window->mainText->isReadOnly());
    }

    void theCurrentCharacterStaysInView() {
        Window w;
        QVERIFY(w.load());
        QString text;
        for (int i = 0; i < 400; ++i)
            text += QStringLiteral("我们学习好。").at(i % 6);
        w.open(text, QString(text.size(), QLatin1Char('0')));
        w.start();
        for (int i = 0; i < 380; i += 10)
            w.commit(text.mid(i, 10));
        QTextEdit *view = w.window->mainText;
        QTextCursor current(view->document());
        current.setPosition(380);
        QVERIFY(view->viewport()->rect().contains(view->cursorRect(current).center()));
        // From position 200 on, the box sits at the left, a quarter down the text.
        QCOMPARE(w.window->tmpText->x(), 0);
        QCOMPARE(w.window->tmpText->y(), view->y() + view->height() / 4);
    }

    void theMarkNeverMovesALineBreak() {
        // Marked in the document's formats, a slanted character at a line end
        // wrapped, and every following line jumped as the learner typed.
        Window w;
        QVERIFY(w.load());
        QString text;
        while (text.size() < 600)
            text += QStringLiteral("我们在学习分词输入，今天天气很好。“引号”（括号）——");
        w.open(text, QString(text.size(), QLatin1Char('0')));
        w.start();
        QTextDocument *doc = w.window->mainText->document();
        const auto lineOf = [doc](int position) {
            const QTextBlock block = doc->findBlock(position);
            return block.layout()->lineForTextPosition(position - block.position()).lineNumber();
        };
        for (const int width : {680, 707, 733, 761, 790, 866}) {
            w.window->resize(width, w.window->height());
            QCoreApplication::processEvents();
            QCOMPARE(w.window->typingCheck().position(), 0);
            std::vector<int> lines;
            for (int i = 0; i < int(text.size()); ++i)
                lines.push_back(lineOf(i));
            int moved = 0;
            for (int i = 1; i < int(text.size()); ++i) {
                w.key(Qt::Key_Right);
                for (int k : {i - 1, i, i + 1})
                    if (k < int(text.size()) && lineOf(k) != lines[size_t(k)])
                        ++moved;
            }
            QVERIFY2(moved == 0,
                     qPrintable(QStringLiteral("width %1: %2 moved").arg(width).arg(moved)));
            for (int i = 1; i < int(text.size()); ++i)
                w.key(Qt::Key_Left);
        }
    }

    void theMarkIsDrawnOverTheCurrentCharacter() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        typing::TestTextView *view = w.window->mainText;
        const auto cellOf = [view](int position) {
            view->setMark(position, 1); // only to find its place
            return view->markRect()->toAlignedRect();
        };
        const QRect cell0 = cellOf(0), cell1 = cellOf(1);
        view->setMark(-1, 0);
        const QImage plain = view->viewport()->grab().toImage();
        w.start();
        QCOMPARE(view->markPosition(), 0);
        const QImage first = view->viewport()->grab().toImage();
        QVERIFY(first.copy(cell0) != plain.copy(cell0));
        w.key(Qt::Key_Right);
        QCOMPARE(view->markPosition(), 1);
        const QImage second = view->viewport()->grab().toImage();
        QCOMPARE(second.copy(cell0), plain.copy(cell0)); // nothing left behind
        QVERIFY(second.copy(cell1) != plain.copy(cell1));
        w.end();
        QCOMPARE(view->markPosition(), -1);
    }

    void theStatusBarShowsTheActiveInputMethod() {
        Window w;
        w.ime.installed << ime::InputMethodInfo{QStringLiteral("pinyin"),
                                                QStringLiteral("智能拼音")};
        w.ime.current = w.ime.englishId();
        QVERIFY(w.load());
        QCOMPARE(w.panel(3), QStringLiteral("英文"));
        w.open(kText, kTags);
        w.start();
        QTRY_COMPARE(w.ime.current, QStringLiteral("table:qorvan"));
        w.window->showInputMethodState(); // the next tick of its timer
        QCOMPARE(w.panel(3), QStringLiteral("Qorvan输入法第四版"));
        // The framework switches on its own, or stops answering.
        const struct {
            QString id, caption;
        } cases[] = {{QStringLiteral("pinyin"), QStringLiteral("智能拼音")},
                     {QStringLiteral("mozc"), QStringLiteral("mozc")},
                     {QString(), QStringLiteral("输入法不可用")},
                     {QStringLiteral("table:qorvan"), QStringLiteral("Qorvan输入法第四版")}};
        for (const auto &c : cases) {
            w.ime.current = c.id;
            w.window->showInputMethodState();
            QCOMPARE(w.panel(3), c.caption);
        }
        w.end();
        QCOMPARE(w.panel(3), QStringLiteral("英文")); // the end of the test switches back
        QVERIFY(w.window->findChild<QTimer *>(QStringLiteral("tmrImeState"))->isActive());

        Window none;
        none.state->inputMethod.backend = nullptr; // no framework runs
        QVERIFY(none.load());
        QCOMPARE(none.panel(3), QStringLiteral("输入法不可用"));
    }

    void f1AsksForTheHelpOfTheTest() {
        Window w;
        coding::FakeHelp help;
        w.state->services.setHelp(&help);
        QVERIFY(w.load());
        QTest::keyClick(w.window.get(), Qt::Key_F1);
        QCOMPARE(help.pages, QStringList{QStringLiteral("test.html")});
        // While the learner types, from the input box; the typing goes on as it was.
        w.open(kText, kTags);
        w.start();
        QTRY_VERIFY(w.window->tmpText->hasFocus());
        w.commit(QStringLiteral("我"));
        QTest::keyClick(w.window->tmpText, Qt::Key_F1);
        QCOMPARE(help.pages.size(), 2);
        QCOMPARE(w.window->typingCheck().position(), 1);
        QCOMPARE(w.state->test.RightCount + w.state->test.ErrCount, 1);
        QVERIFY(w.window->testRunning());
    }

    void theMenusPopUpBesideTheirButtons() {
        Window w;
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        f.resize(frmFcTest::kMinimumSize); // room on the screen for the menu
        QTest::mouseClick(f.cmdFile, Qt::LeftButton);
        QTRY_VERIFY(f.mnuFile->isVisible());
        const QPoint at =
            f.cmdFile->mapToGlobal(QPoint(f.cmdFile->width(), f.cmdFile->height() / 2));
        QCOMPARE(f.mnuFile->pos(), at);
        f.mnuFile->close();
        QTest::mouseClick(f.CmdCalc, Qt::LeftButton);
        QTRY_VERIFY(f.mnuCalc->isVisible());
        f.mnuCalc->close();
    }

    void customWordsCanBeAddedWheneverNoTestRuns() {
        Window w;
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        f.mnuAddWord->trigger();
        QCOMPARE(w.dialogs.last(), QStringLiteral("words::DlgAddWord"));
        w.open(kText, kTags);
        w.start();
        QVERIFY(!f.mnuAddWord->isEnabled());
        w.pause();
        QVERIFY(!f.mnuAddWord->isEnabled());
        w.pause(); // goes on
        w.end();
        QVERIFY(f.mnuAddWord->isEnabled());
    }

    void theOptionsColourTheTextAgainOnlyWhenItsDisplayChanged() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        frmFcTest &f = *w.window;
        // A mark on 我 that only a new colouring takes away.
        const auto mark = [&] {
            QTextCursor cursor(f.mainText->document());
            cursor.setPosition(0);
            cursor.setPosition(1, QTextCursor::KeepAnchor);
            QTextCharFormat grey;
            grey.setForeground(QColor(0x80, 0x80, 0x80));
            cursor.mergeCharFormat(grey);
        };
        const auto choose = [&](options::frmOptions::ColorButton button, qint32 ref) {
            return [&w, button, ref](options::frmOptions &o) {
                w.colors.answers.enqueue(coding::colorFromColorRef(ref));
                QTest::mouseClick(o.colorButtons[button], Qt::LeftButton);
                QTest::mouseClick(o.cmdOK, Qt::LeftButton);
            };
        };
        constexpr qint32 kGrey = 0x808080;

        // Only the error colour: the text stays as it is.
        mark();
        w.onOptions = choose(options::frmOptions::Error, 0x0080FF);
        QTest::mouseClick(f.CmdSetting, Qt::LeftButton);
        QCOMPARE(w.dialogs.last(), QStringLiteral("options::frmOptions"));
        QCOMPARE(w.state->settings.ErrorColor, 0x0080FF);
        QCOMPARE(w.colourAt(0), kGrey);

        // The right colour: coloured again.
        w.onOptions = choose(options::frmOptions::Right, 0x008000);
        QTest::mouseClick(f.CmdSetting, Qt::LeftButton);
        QCOMPARE(w.state->settings.RightColor, 0x008000);
        QCOMPARE(w.colourAt(0), w.state->settings.AltColor1);
        QCOMPARE(w.colourAt(2), w.state->settings.AltColor2);

        // 需要分词 off: no word colours, and the text can no longer be saved as an
        // example.
        QVERIFY(f.mnuSaveResult->isEnabled());
        w.onOptions = [](options::frmOptions &o) {
            o.ckNeedFc->click();
            QTest::mouseClick(o.cmdOK, Qt::LeftButton);
        };
        QTest::mouseClick(f.CmdSetting, Qt::LeftButton);
        QVERIFY(!w.state->settings.NeedFc);
        QVERIFY(!f.mnuSaveResult->isEnabled());
        QCOMPARE(w.colourAt(2), 0);
        QVERIFY(w.messages.shown.isEmpty());

        // While a test runs the settings cannot be opened.
        w.start();
        QVERIFY(!f.CmdSetting->isEnabled());
    }

    void theWindowSpringsBackAndScalesItsFonts() {
        Window w;
        QVERIFY(w.load());
        frmFcTest &f = *w.window;
        f.resize(400, 300);
        QTRY_VERIFY(f.width() >= 600 && f.height() >= 533);
        const auto base = f.baseFontSizes();
        f.resize(frmFcTest::kDesignSize * 2);
        QTRY_COMPARE(f.size(), frmFcTest::kDesignSize * 2);
        const double fy = w.window->layoutScale().ScaleFactorY;
        QVERIFY(fy > 1.5);
        QCOMPARE(f.cmdFile->font().pointSize(), int((fy - 1) * 12) + base[0]);
        QCOMPARE(f.CmdQuit->font().pointSize(), f.cmdFile->font().pointSize());
        QCOMPARE(f.LabelFc->font().pointSize(), int((fy - 1) * 12) + base[1]);
        QCOMPARE(f.lblTips->font().pointSize(), int((fy - 1) * 15) + base[2]);
        QVERIFY(f.CmdQuit->x() > frmFcTest::kDesignSize.width());

        // The test text grows with the smaller scale and keeps its place.
        w.open(kText, kTags);
        const double scale = std::min(f.layoutScale().ScaleFactorX, fy);
        QCOMPARE(f.mainText->font().pointSize(), int(16 * scale));
        QCOMPARE(f.mainText->document()->defaultFont().pointSize(), int(16 * scale));
        const QWidget *area = f.centralWidget();
        QCOMPARE(f.mainText->geometry(),
                 QRect(0, 0, area->width() - f.cmdFile->width() * 16 / 10, area->height() - 4));
        f.resize(frmFcTest::kDesignSize);
        QTRY_COMPARE(f.size(), frmFcTest::kDesignSize);
        QCOMPARE(f.mainText->font().pointSize(), 16);
    }

    void closingCleansUp() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.start();
        QFile oldFilter(w.appDir.filePath(QStringLiteral("OldFilter.dat")));
        QVERIFY(oldFilter.open(QIODevice::WriteOnly));
        oldFilter.close();
        QVERIFY(QFile::exists(w.tempCopy()));
        // Closed in the middle of a test the window asks first: "否" goes on typing.
        w.messages.answers.enqueue(coding::MsgAnswer::No);
        QVERIFY(!w.window->close());
        QVERIFY(w.window->isVisible());
        QVERIFY(w.window->testRunning());
        QCOMPARE(w.messages.lastText(), typing::kCloseDuringTestQuestion);
        QCOMPARE(w.messages.shown.last().buttons, coding::MsgButtons::YesNo);
        // "是" ends the test, shows its result and closes; the input method goes back
        // to English.
        w.messages.answers.enqueue(coding::MsgAnswer::Yes);
        const int results = int(w.results.size());
        QVERIFY(w.window->close());
        QCOMPARE(w.window->session().phase(), typing::Phase::Ended);
        QCOMPARE(int(w.results.size()), results + 1);
        QCOMPARE(w.ime.activations.last(), QStringLiteral("english"));
        QVERIFY(!QFile::exists(w.tempCopy()));
        QVERIFY(!oldFilter.exists());
        QVERIFY(!w.window->Timer1->isActive());
    }

    // --- The file commands ------------------------------------------------------

    void anExampleOpensAsTheNewText() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        w.state->derived.textTables = coding::TextTables{};
        w.state->test.RightCount = 3;
        // An example with letters: 我们 red, 学习 blue, 好 red, 。 green, ab cyan.
        const QString text = QStringLiteral("我们学习好。ab");
        coding::RtfText example{text, {}};
        const qint32 colours[] = {0x0000FF, 0xFF0000, 0x0000FF, 0x00FF00, 0xFFFF00};
        const int starts[] = {0, 2, 4, 5, 6, 8};
        for (int i = 0; i < 5; ++i) {
            coding::RtfFormat f;
            f.color = coding::colorFromColorRef(colours[i]);
            example.runs.append({starts[i], starts[i + 1] - starts[i], f});
        }
        const QString path = w.appDir.filePath(QStringLiteral("例文.sav"));
        QVERIFY(prepare::writeExample(path, example, QStringLiteral("00110244"), nullptr));
        w.files.openAnswers.enqueue(path);
        w.window->mnuOpenExample->trigger();

        QVERIFY2(w.messages.shown.isEmpty(), qPrintable(w.messages.lastText()));
        QCOMPARE(w.files.filters.last(), QStringLiteral("分词例文(*.sav)"));
        QCOMPARE(w.window->mainText->document()->toPlainText(), text);
        QVERIFY(w.window->mainText->isVisible());
        QCOMPARE(w.colourAt(2), 0xFF0000);
        QCOMPARE(w.colourAt(7), 0xFFFF00);
        QCOMPARE(w.state->text.SegmentTags, QStringLiteral("00110244"));
        // All three classes from the tags, letters and digits too.
        QCOMPARE(w.state->text.HzCount, 5);
        QCOMPARE(w.state->text.SymCount, 1);
        QCOMPARE(w.state->text.AlphaCount, 2);
        QVERIFY(!w.state->derived.WordTableDone());
        QCOMPARE(w.state->test.RightCount, 0);
        QCOMPARE(w.window->session().phase(), typing::Phase::Ready);
        QVERIFY(w.window->CmdStartTest->isEnabled());
        QVERIFY(!w.window->mnuSaveTestFile->isEnabled());
        QVERIFY(w.window->mnuSaveResult->isEnabled() && w.window->mnuStaInfo->isEnabled() &&
                w.window->mnuStaSave->isEnabled());
        // A test runs on it.
        w.start();
        w.commit(QStringLiteral("我们"));
        QCOMPARE(w.state->test.RightCount, 2);
    }

    void aRefusedExampleChangesNothing() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        const QString path = w.appDir.filePath(QStringLiteral("a.sav"));
        QFile main(path);
        QVERIFY(main.open(QIODevice::WriteOnly));
        main.write(coding::writeRtf(coding::RtfText{QStringLiteral("别的文字"), {{0, 4, {}}}}));
        main.close();
        // No companion: told under the program's title, with OK and Cancel.
        w.files.openAnswers.enqueue(path);
        w.window->mnuOpenExample->trigger();
        QCOMPARE(w.messages.lastText(), QStringLiteral("辅助文件不存在，不能打开此文件！"));
        QCOMPARE(w.messages.shown.last().title, typing::kProgramTitle);
        QCOMPARE(w.messages.shown.last().buttons, coding::MsgButtons::OkCancel);
        QCOMPARE(w.messages.shown.last().icon, MsgIcon::Exclamation);
        // Tags that do not fit.
        QFile companion(w.appDir.filePath(QStringLiteral("a.ext")));
        QVERIFY(companion.open(QIODevice::WriteOnly));
        companion.write("\"001\"\r\n");
        companion.close();
        w.files.openAnswers.enqueue(path);
        w.window->mnuOpenExample->trigger();
        QVERIFY(w.messages.lastText().startsWith(QStringLiteral("分词例文与辅助文件不一致")));
        QCOMPARE(w.window->mainText->document()->toPlainText(), kText);
        QCOMPARE(w.state->text.SegmentTags, kTags);
        // A cancelled dialog says nothing.
        const auto shown = w.messages.shown.size();
        w.window->mnuOpenExample->trigger();
        QCOMPARE(w.messages.shown.size(), shown);
    }

    void theTextIsSavedAsAnExampleOrAsPlainText() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        const QString example = w.appDir.filePath(QStringLiteral("例文.sav"));
        w.files.saveAnswers.enqueue(example);
        w.window->mnuSaveResult->trigger();
        QCOMPARE(w.files.filters.last(), QStringLiteral("分词例文(*.sav);;纯文本(*.txt)"));
        QCOMPARE(w.files.suffixes.last(), QStringLiteral("sav"));
        const auto read = prepare::readExample(example, nullptr);
        QVERIFY(read);
        QCOMPARE(read->text.text, kText);
        QCOMPARE(read->tags, kTags);
        QCOMPARE(read->text, coding::rtfTextFromDocument(*w.window->mainText->document()));

        const QString plain = w.appDir.filePath(QStringLiteral("分词.txt"));
        w.files.saveAnswers.enqueue(plain);
        w.files.saveFilters.enqueue(QStringLiteral("纯文本(*.txt)"));
        w.window->mnuSaveResult->trigger();
        QFile file(plain);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), stats::fileBytes({QStringLiteral("我们 学习 好 。")}));
        QCOMPARE(w.state->text.SegmentTags, kTags);
        QVERIFY(w.messages.shown.isEmpty());
    }

    void theWordListAndTheReportAreSaved() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        // Nothing computed yet: no report.
        w.window->mnuStaSave->trigger();
        QCOMPARE(w.messages.lastText(), QStringLiteral("请先进行统计再保存统计结果！"));
        QCOMPARE(w.messages.shown.last().icon, MsgIcon::Exclamation);
        QVERIFY(w.files.suffixes.isEmpty()); // no dialog was shown

        // The word list builds the word table when it is not there.
        const QString fcr = w.appDir.filePath(QStringLiteral("词.fcr"));
        w.files.saveAnswers.enqueue(fcr);
        w.window->mnuSaveTestFile->trigger();
        QCOMPARE(w.files.filters.last(), QStringLiteral("分词结果(*.fcr)"));
        QVERIFY(w.state->derived.WordTableDone());
        QFile words(fcr);
        QVERIFY(words.open(QIODevice::ReadOnly));
        QCOMPARE(words.readAll(),
                 stats::fileBytes({QStringLiteral("\"好\""), QStringLiteral("\"学习\""),
                                   QStringLiteral("\"我们\"")}));

        // After a test and its result the report is written.
        w.start();
        w.commit(QStringLiteral("我们学习好。"), 3000);
        QTRY_VERIFY(w.state->derived.ResultStatsReady());
        // The word table was not asked for since: the report builds it for its list.
        w.state->derived.textTables.reset();
        const QString report = w.appDir.filePath(QStringLiteral("报告.txt"));
        w.files.saveAnswers.enqueue(report);
        w.window->mnuStaSave->trigger();
        QFile file(report);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, stats::fileBytes(stats::statisticsReportLines(*w.state)));
        QVERIFY(bytes.contains(stats::fileBytes({QStringLiteral("用户所用时间：0:00:03")})));
        QVERIFY(w.state->derived.WordTableDone());
        QVERIFY(QStringDecoder("GB18030").decode(bytes).operator QString().contains(
            QStringLiteral("\r\n     学习       1      ")));
    }

    void aFailedSaveIsTold() {
        Window w;
        QVERIFY(w.load());
        w.open(kText, kTags);
        const QString path = w.appDir.filePath(QStringLiteral("无此目录/词.fcr"));
        w.files.saveAnswers.enqueue(path);
        w.window->mnuSaveTestFile->trigger();
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY(w.messages.lastText().contains(QStringLiteral("词.fcr")));
        QVERIFY(w.messages.lastText().endsWith(typing::kDiskWriteMessage));
        QVERIFY(!QFile::exists(path));
        // An example whose companion cannot be written leaves no main file.
        QVERIFY(QDir(w.appDir.path()).mkdir(QStringLiteral("savings")));
        const QString example = w.appDir.filePath(QStringLiteral("savings/a.sav"));
        w.files.saveAnswers.enqueue(example);
        w.window->mnuSaveResult->trigger();
        QCOMPARE(w.messages.shown.size(), 2);
        QVERIFY(w.messages.lastText().contains(typing::kDiskWriteMessage));
        QVERIFY(!QFile::exists(example));
    }
};

QTEST_MAIN(FrmFcTestTest)
#include "frmfctest_test.moc"
