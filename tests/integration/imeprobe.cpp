// trevix-ime-probe: runs the program's input-method detection against the
// framework that is running and prints what it found; with --switch it also
// switches to the input method and back to English and reads each back; with
// --add-word <word>:<code> it hands that custom word to the input method as the
// program does after the library added it, and waits a second for the framework
// to take it.
//
// Output lines: "framework: <name>" (or "framework: none"), "message: ...",
// "detect: <milliseconds>", "handles: <ime id> <english id>", "open: <current id>",
// "close: <current id>", "handover: <milliseconds>".

#include "ime/inputmethod.h"
#include "printmessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    const bool doSwitch = application.arguments().contains(QStringLiteral("--switch"));

    QTemporaryDir appDir;
    coding::AppState state(coding::AppDirectory::at(appDir.path()), nullptr);
    PrintMessages messages;
    state.services.setMessages(&messages);

    QElapsedTimer timer;
    timer.start();
    auto backend = ime::chooseInputMethodBackend();
    std::printf("framework: %s\n", backend ? qPrintable(backend->frameworkName()) : "none");
    std::fflush(stdout);
    ime::DetectInputMethod(state, backend.get());
    std::printf("detect: %lld ms\n", static_cast<long long>(timer.elapsed()));
    std::printf("handles: %s %s\n", qPrintable(state.inputMethod.ImeLayoutHandle),
                qPrintable(state.inputMethod.EnglishLayoutHandle));
    if (doSwitch && backend) {
        ime::OpenInputMethod(state);
        std::printf("open: %s\n", qPrintable(backend->currentId()));
        ime::CloseInputMethod(state);
        std::printf("close: %s\n", qPrintable(backend->currentId()));
    }
    const qsizetype add = application.arguments().indexOf(QStringLiteral("--add-word"));
    if (add > 0 && add + 1 < application.arguments().size()) {
        const QString given = application.arguments().at(add + 1);
        QElapsedTimer took;
        took.start();
        ime::HandOverCustomWords(
            state, {{given.section(QLatin1Char(':'), 0, 0), given.section(QLatin1Char(':'), 1)}});
        std::printf("handover: %lld ms\n", static_cast<long long>(took.elapsed()));
        std::fflush(stdout);
        // What the framework does a moment later happens before the end.
        QTimer::singleShot(1000, &application, &QCoreApplication::quit);
        application.exec();
    }
    std::fflush(stdout);
    return backend && !state.inputMethod.ImeLayoutHandle.isEmpty() ? 0 : 1;
}
