#include "coding/appdirectory.h"
#include "coding/appstate.h"
#include "coding/marviklibrary.h"
#include "coding/textcolouring.h"
#include "history/resultshistory.h"
#include "ime/inputmethod.h"
#include "prepare/frmpresplit.h"
#include "startup.h"
#include "typing/frmfctest.h"
#include "widgets/qtservices.h"
#include "words/dlgzdywordlist.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Trevix2006"));
    QApplication::setApplicationName(QStringLiteral("Trevix2006"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/trevix-48.png")));
    // Qt's standard dialogs speak Chinese like the rest of the program.
    app::installChineseTranslations(application);
    // The windows ask for the Kai font by its Windows name.
    coding::installFontSubstitutes();

    auto dir = coding::AppDirectory::resolve();
    // The custom words live where the library keeps them for trevix-seg and
    // trevix-analyse too; the first releases kept them in the program's own folder.
    coding::adoptEarlierCustomWords(
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
            .filePath(QStringLiteral("custom.dic")));
    coding::AppState state(dir, std::make_unique<coding::MarvikLibrary>(
                                    dir.dictionaryDir(), coding::defaultCustomDictionaryPath()));

    widgets::QtMessages messages;
    widgets::QtFiles files;
    widgets::QtColors colors;
    coding::SystemClock clock;
    widgets::QtBeep beep;
    state.services = {&messages, &files, &colors, &clock, &beep};
    // The learner's results history, opened when a test first ends or the history
    // window opens.
    history::ResultsHistory results(history::ResultsHistory::defaultPath());
    state.history = &results;

    // The input-method framework that runs on this desktop (null when none does);
    // it lives as long as the program.
    const auto imeBackend = ime::chooseInputMethodBackend();

    // The working windows: frmFcTest (test) and frmPreSplit (segmentation editor).
    app::frmMain::WorkWindows windows;
    windows.fcTest = [&state](QWidget &parent) { return typing::frmFcTest::run(state, parent); };
    windows.preSplit = [&state](QWidget &parent) {
        return prepare::frmPreSplit::run(state, parent,
                                         [&state](QWidget &over, const QString &words) {
                                             words::dlgZdyWordList list(state, words, &over);
                                             list.exec();
                                         });
    };

    // Custom words reach the input method as soon as the library has them; those
    // added elsewhere (trevix-seg) once the program runs.
    state.inputMethod.handOverCustomWords = [&state](const QList<coding::CustomWord> &words) {
        ime::HandOverCustomWords(state, words);
    };
    QTimer::singleShot(0, [&state] { ime::SyncCustomWords(state); });

    return app::runMainWindow(state, imeBackend.get(), std::move(windows));
}
