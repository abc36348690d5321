// trevix-ime-probe: runs the program's input-method detection against the
// framework that is running and prints what it found; with --switch it also
// switches to the input method and back to English and reads each back.
//
// Output lines: "framework: <name>" (or "framework: none"), "message: ...",
// "detect: <milliseconds>", "handles: <ime id> <english id>", "open: <current id>",
// "close: <current id>".

#include "ime/inputmethod.h"
#include "printmessages.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

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
    std::fflush(stdout);
    return backend && !state.inputMethod.ImeLayoutHandle.isEmpty() ? 0 : 1;
}
