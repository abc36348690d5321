// trevix-test-window-driver: the program's own windows over the real input-method
// framework, for the end-to-end test of the test window. It starts the main window,
// opens the test window from it ("分词测试"), opens the given text file through the
// open-file dialog, starts the test and waits while a script types codes with
// xdotool. It prints what happens, one line each:
//   TEXT <the text in the test window>
//   STARTED <X window id of the test window>   (the script focuses it)
//   READY <id of the active input method>       (the Qorvan input method is on)
//   STATUS <text>                               (status panel 1 changed: a code hint)
//   RESULT total=.. hz=.. time=.. accuracy=.. speed=.. eff=..
//   COUNTS right=.. err=.. keys=.. words=a,b,c,d,e typed=<TypedText>
//   ADDED <word> <code> <ms>                    (--add-word: the word was added)
//   CLOSED <id of the active input method>      (after the test window closed)
//   HISTORY tests=<n> right=.. err=.. keys=.. mistakes=..   (the newest recorded test)
// and exits 0, or prints "TIMEOUT <step>" and exits 1 after --timeout ms.
//
// With --files <dir>, after the first result the window saves, each through the
// program's real file dialog (answered by the driver), the statistics report
// (<dir>/report.txt), the word list (<dir>/words.fcr) and the example
// (<dir>/example.sav), printing "SAVED <file>" for each; it then opens the example
// through "打开分词例文(&E)…" and its file dialog, prints "TEXT <text>" again and runs
// a second test (STARTED, READY, RESULT and COUNTS again) before it closes.
//
// With --add-word <word>:<code>, before it opens the text the window adds that
// custom word through "添加自定义词…" and its dialog, typed into the dialog's
// boxes; ADDED tells how long the add took, handing the word to the input method
// included.
//
// Usage: trevix-test-window-driver --app-dir <dir> --data-dir <dir> --text <file>
//                                   [--keep-alnum] [--screenshot <png>] [--timeout <ms>]
//                                   [--files <dir>] [--add-word <word>:<code>]
// --keep-alnum opens the text with "过滤字母与数字" off, so that its letters and
// digits stay to be typed.

#include "app/frmmain.h"
#include "coding/marviklibrary.h"
#include "coding/textcolouring.h"
#include "history/resultshistory.h"
#include "ime/inputmethod.h"
#include "prepare/frmopenfile.h"
#include "stats/dlgresult.h"
#include "typing/frmfctest.h"
#include "typing/testtextview.h"
#include "typing/typingbox.h"
#include "widgets/clickablelabel.h"
#include "widgets/picturebutton.h"
#include "widgets/qtservices.h"
#include "words/dlgaddword.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QQueue>
#include <QScreen>
#include <QTextEdit>
#include <QTimer>

#include <cstdio>

namespace {

void say(const QString &line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class PrintedMessages : public coding::MessageService {
public:
    coding::MsgAnswer show(const QString &text, const QString &title, coding::MsgButtons buttons,
                           coding::MsgIcon) override {
        say(QStringLiteral("message: %1 | %2").arg(text, title));
        return buttons == coding::MsgButtons::YesNo ? coding::MsgAnswer::Yes
                                                    : coding::MsgAnswer::Ok;
    }
};

// The open-file dialog's file dialog answers with the text file; every other file
// dialog is the program's own (widgets::QtFiles), answered by the driver.
class GivenFile : public coding::FileDialogService {
public:
    explicit GivenFile(QString path) : m_path(std::move(path)) {}
    QString getOpenFileName(const QString &caption, const QString &filter,
                            const QString &dir) override {
        if (!m_given) {
            m_given = true;
            return m_path;
        }
        return m_real.getOpenFileName(caption, filter, dir);
    }
    QString getSaveFileName(const QString &caption, const QString &filter, const QString &dir,
                            const QString &suffix, QString *selectedFilter) override {
        return m_real.getSaveFileName(caption, filter, dir, suffix, selectedFilter);
    }

private:
    QString m_path;
    bool m_given = false;
    widgets::QtFiles m_real;
};

template <typename T> T *visibleWindow() {
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(w); found && found->isVisible())
            return found;
    }
    return nullptr;
}

// Runs f from the event loop, outside the caller (f may open a modal window).
template <typename F> void later(F f) {
    QTimer::singleShot(0, qApp, f);
}

} // namespace

int main(int argc, char **argv) {
    QApplication application(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("app-dir"), QStringLiteral("Application directory."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("data-dir"), QStringLiteral("jtdb.dat and marvik.dic."),
                      QStringLiteral("dir")});
    parser.addOption(
        {QStringLiteral("text"), QStringLiteral("Text file."), QStringLiteral("file")});
    parser.addOption({QStringLiteral("keep-alnum"),
                      QStringLiteral("Keeps the letters and digits of the text.")});
    parser.addOption(
        {QStringLiteral("screenshot"),
         QStringLiteral("Saves the test window as a picture once the test has started."),
         QStringLiteral("file")});
    parser.addOption({QStringLiteral("timeout"), QStringLiteral("Milliseconds."),
                      QStringLiteral("ms"), QStringLiteral("60000")});
    parser.addOption({QStringLiteral("files"),
                      QStringLiteral("Saves the report, word list and example there after the "
                                     "first test, opens the example and runs a second test."),
                      QStringLiteral("dir")});
    parser.addOption({QStringLiteral("result-screenshot"),
                      QStringLiteral("Saves the screen with the first result dialog as a picture."),
                      QStringLiteral("file")});
    parser.addOption({QStringLiteral("add-word"),
                      QStringLiteral("Adds this custom word before the text is opened."),
                      QStringLiteral("word:code")});
    parser.process(application);
    // The file dialogs are Qt's own, which the driver can answer on any desktop.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    const QString filesDir = parser.value(QStringLiteral("files"));
    // The names the file dialogs are answered with, in order.
    QQueue<QString> answers;
    coding::installFontSubstitutes();

    const auto dir = coding::AppDirectory::at(parser.value(QStringLiteral("app-dir")),
                                              parser.value(QStringLiteral("data-dir")));
    coding::AppState state(dir, std::make_unique<coding::MarvikLibrary>(
                                    dir.dictionaryDir(), dir.filePath(QStringLiteral("user.dic"))));
    PrintedMessages messages;
    GivenFile files(parser.value(QStringLiteral("text")));
    coding::SystemClock clock;
    state.services = {&messages, &files, nullptr, &clock, nullptr};
    history::ResultsHistory results(history::ResultsHistory::defaultPath());
    state.history = &results;
    state.inputMethod.handOverCustomWords = [&state](const QList<coding::CustomWord> &words) {
        ime::HandOverCustomWords(state, words);
    };

    const auto backend = ime::chooseInputMethodBackend();
    app::frmMain main(state);
    main.setWorkWindows(
        {[&state](QWidget &parent) { return typing::frmFcTest::run(state, parent); }, {}});
    if (main.Form_Load(backend.get()) != app::frmMain::StartupResult::Ready)
        return 1;
    say(QStringLiteral("handles: %1 %2")
            .arg(state.inputMethod.ImeLayoutHandle, state.inputMethod.EnglishLayoutHandle));
    main.show();

    enum class Step {
        OpenTestWindow,
        AddWord,
        OpenText,
        ChooseFile,
        Start,
        Ready,
        Result,
        Saving,
        Closed,
        Done
    };
    Step step = Step::OpenTestWindow;
    const auto current = [&] { return backend ? backend->currentId() : QString(); };
    QString status;
    QTimer poll;
    poll.setInterval(50);
    int round = 1;
    bool addRequested = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        // A file dialog of the window: typed into and accepted as a user would.
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            if (!answers.isEmpty() && dialog->isVisible()) {
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))
                    ->setText(answers.dequeue());
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            }
            return;
        }
        typing::frmFcTest *window = visibleWindow<typing::frmFcTest>();
        if (window && window->StatusBar1Panels[0]->text() != status) {
            status = window->StatusBar1Panels[0]->text();
            say(QStringLiteral("STATUS %1").arg(status));
        }
        switch (step) {
        case Step::OpenTestWindow:
            if (!main.isVisible())
                return;
            step = parser.isSet(QStringLiteral("add-word")) ? Step::AddWord : Step::OpenText;
            later([&] { main.Image1[0]->clicked(); }); // the picture button "分词测试"
            return;
        case Step::AddWord:
            if (!window)
                return;
            if (auto *dialog = visibleWindow<words::DlgAddWord>()) {
                const QString given = parser.value(QStringLiteral("add-word"));
                const QString word = given.section(QLatin1Char(':'), 0, 0);
                const QString code = given.section(QLatin1Char(':'), 1);
                step = Step::OpenText;
                dialog->txtWord->setFocus();
                dialog->txtWord->insert(word); // the library proposes a code
                dialog->txtCode->clear();
                dialog->txtCode->insert(code);
                QElapsedTimer took;
                took.start();
                dialog->cmdAddWord->click();
                say(QStringLiteral("ADDED %1 %2 %3").arg(word, code).arg(took.elapsed()));
                dialog->cmdExit->click();
            } else if (!addRequested) {
                addRequested = true;
                later([window] { window->mnuAddWord->trigger(); });
            }
            return;
        case Step::OpenText:
            if (!window)
                return;
            step = Step::ChooseFile;
            later([window] { window->mnuOpenTestFile->trigger(); });
            return;
        case Step::ChooseFile:
            if (auto *open = visibleWindow<prepare::frmOpenFile>()) {
                step = Step::Start;
                if (parser.isSet(QStringLiteral("keep-alnum")))
                    open->findChild<QCheckBox *>(QStringLiteral("chkAlpha"))->setChecked(false);
                open->findChild<QAbstractButton *>(QStringLiteral("cmdSelectFile"))->click();
                open->findChild<QAbstractButton *>(QStringLiteral("cmdOpenFile"))->click();
            }
            return;
        case Step::Start:
            if (!window || window->mainText->isHidden())
                return;
            say(QStringLiteral("TEXT %1").arg(window->mainText->toPlainText()));
            window->CmdStartTest->click();
            step = Step::Ready;
            say(QStringLiteral("STARTED %1").arg(window->winId()));
            if (const QString file = parser.value(QStringLiteral("screenshot")); !file.isEmpty())
                QTimer::singleShot(500, window, [window, file] { window->grab().save(file); });
            return;
        case Step::Ready:
            if (!window->tmpText->hasFocus() || current() != state.inputMethod.ImeLayoutHandle)
                return;
            say(QStringLiteral("READY %1").arg(current()));
            step = Step::Result;
            return;
        case Step::Result:
            if (auto *result = visibleWindow<stats::DlgResult>()) {
                say(QStringLiteral("RESULT total=%1 hz=%2 time=%3 accuracy=%4 speed=%5 eff=%6")
                        .arg(result->lblTotal->text(), result->lblHz->text(),
                             result->lblTime->text(), result->lblRgtRate->text(),
                             result->lblRate->text(), result->lblEffRate->text()));
                QStringList words;
                for (int c : state.test.TypedWordCounts)
                    words << QString::number(c);
                say(QStringLiteral("COUNTS right=%1 err=%2 keys=%3 words=%4 typed=%5 ime=%6")
                        .arg(state.test.RightCount)
                        .arg(state.test.ErrCount)
                        .arg(state.test.KeyPressCount)
                        .arg(words.join(QLatin1Char(',')), state.test.TypedText, current()));
                if (const QString file = parser.value(QStringLiteral("result-screenshot"));
                    round == 1 && !file.isEmpty())
                    result->screen()->grabWindow(0).save(file);
                result->cmdOk->click();
                if (round == 1 && !filesDir.isEmpty()) {
                    // The files of the test, then the example again for a second test.
                    ++round;
                    step = Step::Saving;
                    later([&] {
                        auto *w = visibleWindow<typing::frmFcTest>();
                        const QDir dir(filesDir);
                        const struct {
                            QAction *command;
                            const char *name;
                        } saves[] = {{w->mnuStaSave, "report.txt"},
                                     {w->mnuSaveTestFile, "words.fcr"},
                                     {w->mnuSaveResult, "example.sav"}};
                        for (const auto &save : saves) {
                            answers.enqueue(dir.filePath(QString::fromLatin1(save.name)));
                            save.command->trigger();
                            say(QStringLiteral("SAVED %1").arg(QString::fromLatin1(save.name)));
                        }
                        answers.enqueue(dir.filePath(QStringLiteral("example.sav")));
                        w->mnuOpenExample->trigger();
                        step = Step::Start;
                    });
                    return;
                }
                step = Step::Closed;
                later([] {
                    if (auto *w = visibleWindow<typing::frmFcTest>())
                        w->CmdQuit->click();
                });
            }
            return;
        case Step::Saving:
            return;
        case Step::Closed:
            if (window)
                return;
            say(QStringLiteral("CLOSED %1").arg(current()));
            if (QString error; const auto tests = results.entries(&error)) {
                const auto newest =
                    tests->isEmpty() ? std::nullopt : results.detail(tests->first().id, &error);
                if (newest)
                    say(QStringLiteral("HISTORY tests=%1 right=%2 err=%3 keys=%4 mistakes=%5")
                            .arg(tests->size())
                            .arg(newest->entry.rightCount)
                            .arg(newest->entry.wrongCount)
                            .arg(newest->entry.keyPresses)
                            .arg(newest->mistakes.size()));
            }
            step = Step::Done;
            poll.stop();
            QCoreApplication::exit(0);
            return;
        case Step::Done:
            return;
        }
    });
    QTimer::singleShot(parser.value(QStringLiteral("timeout")).toInt(), [&] {
        say(QStringLiteral("TIMEOUT step %1").arg(int(step)));
        QCoreApplication::exit(1);
    });
    poll.start();
    return application.exec();
}
