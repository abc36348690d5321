#include "coding/appdirectory.h"
#include "coding/appstate.h"
#include "coding/marviklibrary.h"
#include "frmmain.h"
#include "qtservices.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>

int main(int argc, char *argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Trevix2006"));
    QApplication::setApplicationName(QStringLiteral("Trevix2006"));

    auto dir = coding::AppDirectory::resolve();
    const QString userDict = QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                                 .filePath(QStringLiteral("custom.dic"));
    coding::AppState state(dir,
                           std::make_unique<coding::MarvikLibrary>(dir.dictionaryDir(), userDict));

    app::QtMessages messages;
    app::QtFiles files;
    app::QtColors colors;
    app::SystemClock clock;
    app::QtBeep beep;
    state.services = {&messages, &files, &colors, &clock, &beep};

    app::frmMain window(state);
    window.show();
    return application.exec();
}
