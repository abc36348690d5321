#include "startup.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

bool installChineseTranslations(QCoreApplication &application) {
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qt_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

int runMainWindow(coding::AppState &state, ime::InputMethodBackend *backend,
                  frmMain::WorkWindows windows) {
    frmMain window(state);
    window.setWorkWindows(std::move(windows));
    if (window.Form_Load(backend) != frmMain::StartupResult::Ready)
        return 1; // the message has told why; the program ends
    window.show();
    const int code = QApplication::exec();
    return code != 0 ? code : window.exitCode();
}

} // namespace app
