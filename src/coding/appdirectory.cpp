#include "appdirectory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef TREVIX_INSTALL_DATADIR
#define TREVIX_INSTALL_DATADIR "/usr/share/trevix"
#endif

namespace coding {

QString AppDirectory::installDataDir() {
    const QString fromEnv = qEnvironmentVariable("TREVIX_DATA_DIR");
    if (!fromEnv.isEmpty())
        return QDir(fromEnv).absolutePath();
    return QStringLiteral(TREVIX_INSTALL_DATADIR);
}

AppDirectory AppDirectory::resolve() {
    const QString readOnlyData = installDataDir();
    const QString fromEnv = qEnvironmentVariable("TREVIX_APP_DIR");
    if (!fromEnv.isEmpty())
        return at(QDir(fromEnv).absolutePath(), readOnlyData);

    const QString exeDir = QCoreApplication::applicationDirPath();
    const QFileInfo exeInfo(exeDir);
    if (!exeDir.isEmpty() && QFileInfo::exists(QDir(exeDir).filePath("jtdb.dat")) &&
        exeInfo.isWritable())
        return at(exeDir, readOnlyData);

    QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (user.isEmpty())
        user = QDir::home().filePath(QStringLiteral(".local/share/Trevix2006"));
    QDir().mkpath(user);
    return at(user, readOnlyData);
}

AppDirectory AppDirectory::at(const QString &dir, const QString &readOnlyDataDir) {
    AppDirectory d;
    d.m_path = QDir::cleanPath(dir);
    d.m_readOnlyData = readOnlyDataDir.isEmpty() ? QString() : QDir::cleanPath(readOnlyDataDir);
    return d;
}

QString AppDirectory::filePath(const QString &name) const {
    return QDir(m_path).filePath(name);
}

QString AppDirectory::dataFile(const QString &name) const {
    const QString own = filePath(name);
    if (QFileInfo::exists(own) || m_readOnlyData.isEmpty())
        return own;
    const QString installed = QDir(m_readOnlyData).filePath(name);
    return QFileInfo::exists(installed) ? installed : own;
}

QString AppDirectory::dictionaryDir() const {
    return QFileInfo(dataFile(QStringLiteral("marvik.dic"))).absolutePath();
}

} // namespace coding
