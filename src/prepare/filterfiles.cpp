#include "filterfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace prepare {

namespace {

const QString FilterName = QStringLiteral("filter.dat");
const QString BackupName = QStringLiteral("OldFilter.dat");

QString shown(const QString &path) {
    return QDir::toNativeSeparators(path);
}

bool readFile(const QString &path, FilterList *list, QString *error) {
    QFile file(path);
    QString reason;
    if (!file.open(QIODevice::ReadOnly))
        reason = file.errorString();
    else if (list->read(file, &reason))
        return true;
    if (error)
        *error = QStringLiteral("过滤符号文件%1无法读取！\n%2").arg(shown(path), reason);
    return false;
}

} // namespace

QString findFileNoCase(const QString &dir, const QString &name) {
    const QDir directory(dir);
    if (QFileInfo::exists(directory.filePath(name)))
        return directory.filePath(name);
    const QStringList files =
        directory.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString &file : files) {
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return directory.filePath(file);
    }
    return directory.filePath(name);
}

FilterFiles::FilterFiles(coding::AppDirectory dir) : m_dir(std::move(dir)) {}

QString FilterFiles::filterPath() const {
    return findFileNoCase(m_dir.path(), FilterName);
}

QString FilterFiles::backupPath() const {
    return findFileNoCase(m_dir.path(), BackupName);
}

bool FilterFiles::load(FilterList *list, QString *error) const {
    const QString path = filterPath();
    if (QFileInfo::exists(path))
        return readFile(path, list, error);
    const QString shipped = m_dir.dataFile(FilterName);
    if (shipped != m_dir.filePath(FilterName) && QFileInfo::exists(shipped))
        return readFile(shipped, list, error);
    *list = FilterList();
    return true;
}

bool FilterFiles::save(const FilterList &list, QString *error) const {
    return writeFile(filterPath(), list, error);
}

bool FilterFiles::backUp(QString *error) const {
    FilterList list;
    return load(&list, error) && writeFile(backupPath(), list, error);
}

bool FilterFiles::restore(QString *error) const {
    const QString backup = backupPath();
    if (!QFileInfo::exists(backup))
        return true;
    FilterList list;
    return readFile(backup, &list, error) && save(list, error);
}

void FilterFiles::removeBackup() const {
    const QString backup = backupPath();
    if (QFileInfo::exists(backup))
        QFile::remove(backup);
}

bool FilterFiles::writeFile(const QString &path, const FilterList &list, QString *error) const {
    QSaveFile file(path);
    QString reason;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        reason = file.errorString();
    } else if (!list.write(file, &reason)) {
        file.cancelWriting();
    } else if (file.commit()) {
        return true;
    } else {
        reason = file.errorString();
    }
    if (error)
        *error = QStringLiteral("过滤符号文件%1无法保存！\n%2").arg(shown(path), reason);
    return false;
}

} // namespace prepare
