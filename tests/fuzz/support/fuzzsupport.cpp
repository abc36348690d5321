#include "fuzzsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

void check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

void startQt(int *argc, char ***argv, bool gui) {
    // Never destroyed: Qt stays usable to the end, for the scratch folder's removal.
    static QCoreApplication *app = nullptr;
    if (app)
        return;
    if (gui) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = new QGuiApplication(*argc, *argv);
    } else {
        app = new QCoreApplication(*argc, *argv);
    }
}

QString scratchDir() {
    // In memory where the machine has it: the fuzzers write a file for each input.
    static QTemporaryDir *dir = [] {
        auto *made =
            new QTemporaryDir(QFileInfo(QStringLiteral("/dev/shm")).isDir()
                                  ? QStringLiteral("/dev/shm/trevix-fuzz-XXXXXX")
                                  : QDir::tempPath() + QStringLiteral("/trevix-fuzz-XXXXXX"));
        std::atexit([] { QDir(scratchDir()).removeRecursively(); });
        return made;
    }();
    check(dir->isValid(), "no scratch folder");
    return dir->path();
}

QString writeScratch(const QString &name, const QByteArray &bytes) {
    const QString path = QDir(scratchDir()).filePath(name);
    QFile file(path);
    check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "a scratch file cannot be made");
    check(file.write(bytes) == bytes.size(), "a scratch file cannot be written");
    file.close();
    return path;
}

QString fixtureDir() {
    return QStringLiteral(TREVIX_FUZZ_FIXTURES);
}

} // namespace fuzz
