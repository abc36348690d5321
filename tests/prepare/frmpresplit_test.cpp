// The segmentation editor driven offscreen through its controls: a real text file
// opened through the open-file dialog, corrected with the keyboard, saved as an
// example pair and read back, with the message boxes and the save dialog answered
// by the test.
#include "prepare/frmpresplit.h"

#include "coding/colorref.h"
#include "fixturedatabase.h"
#include "prepare/examplefile.h"
#include "prepare/frmopenfile.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"
#include "widgets/picturebutton.h"
#include "widgets/pictures.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextEdit>

using coding::MsgAnswer;
using coding::MsgIcon;
using prepare::frmPreSplit;

namespace {

constexpr qint32 kColor1 = 0x0000C0, kColor2 = 0x008000, kSymbol = 0xC00000;

// 22 characters; the library's words 我们 学习 好好学习 。 文化 变化 我们 学习 好好学习 。,
// its tags alternating from "1" so that they differ from what a save computes.
const QString kText = QStringLiteral("我们学习好好学习。文化变化我们学习好好学习。");
const QString kLibraryTags = QStringLiteral("1100111120011001100002");
const QString kSegmented = QStringLiteral("我们 学习 好好学习 。 文化 变化 我们 学习 好好学习 。");

struct Editor {
    explicit Editor(const QList<qint16> &pictures = {101, 102, 103}) {
        const auto dir = coding::AppDirectory::at(appDir.path());
        for (qint16 id : pictures)
            widgets::ExtractResourceFile(dir, id, widgets::kPictureType,
                                         widgets::pictureFileName(id));
        coding::fixture::writeCodeDatabase(dir.filePath(QStringLiteral("jtdb.dat")),
                                           coding::fixture::standardRows());
        library = new coding::FakeLibrary;
        library->tagsFor.insert(kText, kLibraryTags);
        state = std::make_unique<coding::AppState>(
            dir, std::unique_ptr<coding::SegmentationLibrary>(library));
        state->services = {&messages, &files, nullptr, nullptr, nullptr};
        window = std::make_unique<frmPreSplit>(*state);
        window->execDialog = [this](QDialog &dialog) { return runDialog(dialog); };
    }

    bool load() {
        if (!window->Form_Load())
            return false;
        state->settings.AltColor1 = kColor1;
        state->settings.AltColor2 = kColor2;
        state->settings.SymColor = kSymbol;
        state->settings.NeedJmTips = true;
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // The open-file dialog, through its own controls, with the file the test wrote.
    int runDialog(QDialog &dialog) {
        dialogs << QString::fromLatin1(dialog.metaObject()->className());
        if (qobject_cast<prepare::frmOpenFile *>(&dialog) && !textFile.isEmpty()) {
            dialog.show();
            files.openAnswers.enqueue(textFile);
            QTest::mouseClick(dialog.findChild<QAbstractButton *>("cmdSelectFile"), Qt::LeftButton);
            QTest::mouseClick(dialog.findChild<QAbstractButton *>("cmdOpenFile"), Qt::LeftButton);
        }
        return 1;
    }

    // Opens kText through "打开文件".
    void open() {
        QFile file(appDir.filePath(QStringLiteral("课文.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(kText.toUtf8());
        file.close();
        textFile = file.fileName();
        QTest::mouseClick(window->cmdFile, Qt::LeftButton);
    }
    void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    // Puts the cursor before character position of the text.
    void cursorAt(int position) {
        QTextCursor cursor = window->txtMain->textCursor();
        cursor.setPosition(position);
        window->txtMain->setTextCursor(cursor);
    }
    QString text() const { return window->txtMain->toPlainText(); }
    qint32 colourAt(int position) const {
        QTextCursor cursor(window->txtMain->document());
        cursor.setPosition(position + 1);
        return coding::colorRefFromColor(cursor.charFormat().foreground().color());
    }
    // Saves through "保存结果" to name in the application directory.
    QString save(const QString &name) {
        const QString path = appDir.filePath(name);
        files.saveAnswers.enqueue(path);
        click(window->cmdSave);
        return path;
    }
    struct Buttons {
        bool modify, undo, reset, save;
        bool operator==(const Buttons &) const = default;
    };
    Buttons buttons() const {
        return {window->cmdModify->isEnabled(), window->cmdUndo->isEnabled(),
                window->cmdReset->isEnabled(), window->cmdSave->isEnabled()};
    }

    QTemporaryDir appDir;
    coding::FakeLibrary *library = nullptr; // owned by state
    coding::FakeMessages messages;
    coding::FakeFiles files;
    std::unique_ptr<coding::AppState> state;
    std::unique_ptr<frmPreSplit> window;
    QString textFile;
    QStringList dialogs;
};

// The tags that a save gives kText once 我们学习 is one word and 好好学习 is two:
// 我们学习 and 好好 have no code of their own (their first characters have), 。 has
// none at all, the others have codes.
const QString kCorrected = QStringLiteral("我们学习 好好 学习 。 文化 变化 我们 学习 好好学习 。");
const QString kCorrectedTags =
    QStringLiteral("0000") + "11" + "00" + "2" + "11" + "00" + "11" + "00" + "1111" + "2";

} // namespace

class FrmPreSplitTest : public QObject {
    Q_OBJECT

private slots:
    void loadsWithEveryControlInItsState() {
        Editor e;
        e.state->editor.EditorIsTarget = false;
        QVERIFY(e.load());
        frmPreSplit &f = *e.window;
        QCOMPARE(f.windowTitle(), QStringLiteral("分词结果处理 "));
        const struct {
            QAbstractButton *button;
            const char *name, *caption;
            bool enabled;
        } buttons[] = {{f.cmdFile, "cmdFile", "打开文件", true},
                       {f.cmdModify, "cmdModify", "修    改", false},
                       {f.cmdUndo, "cmdUndo", "撤    消", false},
                       {f.cmdReset, "cmdReset", "还    原", false},
                       {f.cmdSave, "cmdSave", "保存结果", false},
                       {f.cmdExit, "cmdExit", "退    出", true}};
        for (const auto &b : buttons) {
            QCOMPARE(b.button->objectName(), QString::fromLatin1(b.name));
            QCOMPARE(b.button->text(), QString::fromUtf8(b.caption));
            QCOMPARE(b.button->isEnabled(), b.enabled);
            const auto *picture = qobject_cast<const widgets::PictureButton *>(b.button);
            QVERIFY(picture && !picture->face().isNull() && !picture->disabledFace().isNull());
        }
        QVERIFY(e.state->editor.EditorIsTarget);
        QVERIFY(f.txtMain->isHidden());
        QCOMPARE(f.lblPreSplit->text(), QStringLiteral("欢迎进入分词结果处理！"));
        QCOMPARE(f.lblTips->text(),
                 QStringLiteral("\n\n     本单元提供分词结果处理功能。系统对用户打开的文本文件进行"
                                "分词后，把文件内容以词的形式显示出来，用户可以对系统的分词结果进"
                                "行修改，并保存为\"分词例文\"，然后在\"分词测试\"部分打开所保存的"
                                "分词例文，进行分词测试。\n\n"));
        QCOMPARE(f.StatusBar1Panels[0]->text(), QStringLiteral("欢迎进入分词结果处理"));
    }

    void aMissingPictureEndsTheProgram_data() {
        QTest::addColumn<QList<qint16>>("pictures");
        QTest::newRow("no background") << QList<qint16>{102, 103};
        QTest::newRow("no button face") << QList<qint16>{101, 103};
        QTest::newRow("no disabled face") << QList<qint16>{101, 102};
    }
    void aMissingPictureEndsTheProgram() {
        QFETCH(QList<qint16>, pictures);
        Editor e(pictures);
        QVERIFY(!e.window->Form_Load());
        QCOMPARE(e.messages.shown.size(), 1);
        QCOMPARE(e.messages.lastText(), QStringLiteral("背景图片文件不完整，请重新启动程序！"));
        QCOMPARE(e.messages.shown[0].title, QStringLiteral("提示信息"));
        QCOMPARE(e.messages.shown[0].icon, MsgIcon::Critical);
    }

    void aTextOpensAsWordsApart() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        QCOMPARE(e.dialogs, QStringList{QStringLiteral("prepare::frmOpenFile")});
        frmPreSplit &f = *e.window;
        QVERIFY(f.txtMain->isVisible());
        QVERIFY(f.txtMain->isReadOnly());
        QCOMPARE(e.text(), kSegmented);
        QCOMPARE(e.state->editor.InitialSegmentation, kSegmented);
        QCOMPARE(e.buttons(), (Editor::Buttons{true, true, false, true}));
        QCOMPARE(f.cmdModify->text(), prepare::kModifyCaption);
        // Coloured by the library's tags: 我们 "1", 学习 "0", 。 punctuation.
        QCOMPARE(e.colourAt(0), kColor2);
        QCOMPARE(e.colourAt(3), kColor1);
        QCOMPARE(e.colourAt(11), kSymbol);
        // A locked text takes no typing and enables nothing.
        e.cursorAt(2);
        QTest::keyClick(f.txtMain, Qt::Key_Space);
        QCOMPARE(e.text(), kSegmented);
        QVERIFY(!f.cmdReset->isEnabled());
    }

    void wordsWithoutACodeCanBeGivenCodesAfterTheSave() {
        for (const MsgAnswer answer : {MsgAnswer::Yes, MsgAnswer::No}) {
            Editor e;
            QVERIFY(e.load());
            e.open();
            frmPreSplit &f = *e.window;
            QStringList handed;
            f.customWordList = [&](QWidget &, const QString &words) { handed << words; };
            e.click(f.cmdModify);
            e.cursorAt(2);
            QTest::keyClick(f.txtMain, Qt::Key_Delete);
            e.cursorAt(7);
            QTest::keyClick(f.txtMain, Qt::Key_Space);
            e.messages.answers.enqueue(answer);
            e.save(QStringLiteral("例文.sav"));
            QCOMPARE(e.messages.shown.size(), 1);
            QCOMPARE(e.messages.lastText(), prepare::kCustomCodesQuestion);
            QCOMPARE(e.messages.shown[0].icon, MsgIcon::Question);
            QCOMPARE(handed, answer == MsgAnswer::Yes
                                 ? QStringList{QStringLiteral("我们学习 好好 ")}
                                 : QStringList{});
        }
    }

    void aCorrectedSegmentationIsSavedAndReadsBack() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        frmPreSplit &f = *e.window;
        e.click(f.cmdModify);
        QCOMPARE(f.cmdModify->text(), QStringLiteral("修 改 中"));
        QVERIFY(!f.txtMain->isReadOnly());
        QVERIFY(f.txtMain->hasFocus());
        // The blank moves from after 我们 into 好好学习.
        e.cursorAt(2);
        QTest::keyClick(f.txtMain, Qt::Key_Delete);
        QCOMPARE(e.buttons(), (Editor::Buttons{true, true, true, true}));
        e.cursorAt(7);
        QTest::keyClick(f.txtMain, Qt::Key_Space);
        QCOMPARE(e.text(), kCorrected);
        // Enter breaks no line in the text.
        QTest::keyClick(f.txtMain, Qt::Key_Return);
        QCOMPARE(e.text(), kCorrected);
        QVERIFY(e.dialogs.size() == 1);

        const QString path = e.save(QStringLiteral("例文.sav"));
        QVERIFY2(e.messages.shown.isEmpty(), qPrintable(e.messages.lastText()));
        QCOMPARE(e.files.filters.last(), QStringLiteral("分词例文(*.sav)"));
        QCOMPARE(e.files.suffixes.last(), QStringLiteral("sav"));
        QCOMPARE(f.Tag(), QStringLiteral("我们学习 好好 "));
        QCOMPARE(e.state->text.SegmentTags, kCorrectedTags);

        // The screen shows the saved text, locked, coloured by its new tags.
        QCOMPARE(e.text(), kText);
        QCOMPARE(e.colourAt(0), kColor1);
        QCOMPARE(e.colourAt(4), kColor2);
        QCOMPARE(e.colourAt(8), kSymbol);
        QVERIFY(f.txtMain->isReadOnly());
        QCOMPARE(f.cmdModify->text(), prepare::kModifyCaption);
        QCOMPARE(e.buttons(), (Editor::Buttons{false, false, false, false}));
        QVERIFY(f.StatusBar1Panels[1]->text().endsWith(QStringLiteral("例文.sav")));
        e.cursorAt(1);
        QTest::keyClick(f.txtMain, Qt::Key_Space);
        QCOMPARE(e.text(), kText);
        QCOMPARE(e.buttons(), (Editor::Buttons{false, false, false, false}));

        // The pair opens again with the corrected segmentation and its colours.
        prepare::ExampleError error;
        const auto example = prepare::readExample(path, &error);
        QVERIFY2(example, qPrintable(prepare::exampleErrorMessage(error)));
        QCOMPARE(example->text.text, kText);
        QCOMPARE(example->tags, kCorrectedTags);
        QCOMPARE(coding::colorRefFromColor(example->text.runs.first().format.color), kColor1);

        // Opening a file again makes the text editable again.
        e.open();
        QCOMPARE(e.text(), kSegmented);
        QCOMPARE(e.buttons(), (Editor::Buttons{true, true, false, true}));
    }

    void savingWithoutAnEditComputesTheTagsFromTheScreen() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        const QString path = e.save(QStringLiteral("a.sav"));
        const auto example = prepare::readExample(path, nullptr);
        QVERIFY(example);
        // Not the library's tags: 我们 has a code, so the first word is "0".
        QCOMPARE(example->tags, QStringLiteral("00") + "11" + "0000" + "2" + "11" + "00" + "11" +
                                    "00" + "1111" + "2");
        QCOMPARE(e.window->Tag(), QString());
    }

    void aNameWithoutSavGetsTheExtension() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        const QString path = e.save(QStringLiteral("例文.txt"));
        QVERIFY(!QFile::exists(path));
        QVERIFY(QFile::exists(path + QStringLiteral(".sav")));
        QVERIFY(QFile::exists(path + QStringLiteral(".ext")));
    }

    void aFailedSaveChangesNothing() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        e.click(e.window->cmdModify);
        e.cursorAt(2);
        QTest::keyClick(e.window->txtMain, Qt::Key_Delete);
        const QString edited = e.text();
        const QString tags = e.state->text.SegmentTags;
        // The companion's directory ("extings") does not exist.
        QVERIFY(QDir(e.appDir.path()).mkdir(QStringLiteral("savings")));
        const QString path = e.save(QStringLiteral("savings/a.sav"));
        QCOMPARE(e.messages.shown.size(), 1);
        QVERIFY(e.messages.lastText().startsWith(QStringLiteral("分词例文保存失败！")));
        QCOMPARE(e.messages.shown[0].icon, MsgIcon::Exclamation);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(e.text(), edited);
        QCOMPARE(e.state->text.SegmentTags, tags);
        QVERIFY(!e.window->txtMain->isReadOnly());
        QCOMPARE(e.buttons(), (Editor::Buttons{true, true, true, true}));

        // Cancelling the dialog changes nothing either, and says nothing.
        e.click(e.window->cmdSave);
        QCOMPARE(e.messages.shown.size(), 1);
        QCOMPARE(e.text(), edited);
    }

    void resetPutsTheFirstSegmentationBackAndUndoTakesBackTyping() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        frmPreSplit &f = *e.window;
        e.click(f.cmdModify);
        // Two edits in different places (typing in one place is undone as a whole).
        e.cursorAt(0);
        QTest::keyClick(f.txtMain, Qt::Key_Space);
        e.cursorAt(int(kSegmented.size()) + 1);
        QTest::keyClick(f.txtMain, Qt::Key_Space);
        QCOMPARE(e.text(), QStringLiteral(" ") + kSegmented + QStringLiteral(" "));
        e.click(f.cmdUndo);
        QCOMPARE(e.text(), QStringLiteral(" ") + kSegmented);
        e.click(f.cmdReset);
        QCOMPARE(e.text(), kSegmented);
        QCOMPARE(e.colourAt(0), kColor2);
        // The colouring is no edit: undo has nothing of it to take back.
        e.click(f.cmdUndo);
        QCOMPARE(e.text(), kSegmented);
        QCOMPARE(e.colourAt(0), kColor2);
        // Modify again locks the text.
        e.click(f.cmdModify);
        QVERIFY(f.txtMain->isReadOnly());
        QCOMPARE(f.cmdModify->text(), prepare::kModifyCaption);
    }

    void enterOpensAFileAndEscLeaves() {
        Editor e;
        QVERIFY(e.load());
        QTest::keyClick(e.window.get(), Qt::Key_Return);
        QCOMPARE(e.dialogs, QStringList{QStringLiteral("prepare::frmOpenFile")});
        QTest::keyClick(e.window.get(), Qt::Key_Escape);
        QVERIFY(!e.window->isVisible());
    }

    void unsavedCorrectionsAreNotLostWithoutAQuestion() {
        Editor e;
        QVERIFY(e.load());
        e.open();
        e.click(e.window->cmdModify);
        e.cursorAt(2);
        QTest::keyClick(e.window->txtMain, Qt::Key_Delete);
        // Cancel: the window stays with the corrections.
        e.messages.answers.enqueue(MsgAnswer::Cancel);
        e.click(e.window->cmdExit);
        QVERIFY(e.window->isVisible());
        QCOMPARE(e.messages.lastText(), prepare::kUnsavedEditsQuestion);
        QCOMPARE(e.messages.shown.last().buttons, coding::MsgButtons::YesNoCancel);
        // Yes saves them and then leaves.
        e.messages.answers.enqueue(MsgAnswer::Yes);
        const QString path = e.appDir.filePath(QStringLiteral("b.sav"));
        e.files.saveAnswers.enqueue(path);
        e.click(e.window->cmdExit);
        QVERIFY(!e.window->isVisible());
        QVERIFY(QFile::exists(path));
    }

    void theWindowSpringsBackAndScalesItsFonts() {
        Editor e;
        QVERIFY(e.load());
        frmPreSplit &f = *e.window;
        f.resize(400, 300);
        QTRY_VERIFY(f.width() >= 600 && f.height() >= 533);
        const auto base = f.baseFontSizes();
        f.resize(frmPreSplit::kDesignSize * 2);
        QTRY_COMPARE(f.size(), frmPreSplit::kDesignSize * 2);
        const double s = f.layoutScale().ScaleFactorX;
        QVERIFY(s > 1.5);
        QCOMPARE(f.cmdFile->font().pointSize(), int(std::floor((s - 1) * 12)) + base[0]);
        QCOMPARE(f.cmdExit->font().pointSize(), f.cmdFile->font().pointSize());
        QCOMPARE(f.lblPreSplit->font().pointSize(), int(std::floor((s - 1) * 12)) + base[1]);
        QCOMPARE(f.lblTips->font().pointSize(), int(std::floor((s - 1) * 15)) + base[2]);
        QVERIFY(f.cmdExit->x() > frmPreSplit::kDesignSize.width());
    }
};

QTEST_MAIN(FrmPreSplitTest)
#include "frmpresplit_test.moc"
