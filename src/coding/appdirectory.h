#pragma once

#include <QString>

namespace coding {

// The one directory that holds the program's own files (jtdb.dat, the library's
// dictionary, the pictures, temp.zh, the filter files, the help file). In order:
//  1. the directory named by the environment variable TREVIX_APP_DIR;
//  2. the executable's directory when it holds jtdb.dat and is writable (the build
//     tree, an unpacked folder);
//  3. the per-user data directory; read-only data of an installed copy is then
//     found in the install's data directory.
class AppDirectory {
public:
    // Resolves the directory for this run (creating the per-user one if needed).
    static AppDirectory resolve();
    // The install's data directory, where resolve() finds the read-only data that the
    // application directory lacks: the directory named by the environment variable
    // TREVIX_DATA_DIR (an unpacked package, say), else the one compiled in
    // (<prefix>/share/trevix).
    static QString installDataDir();
    // A fixed directory, for tests and tools.
    static AppDirectory at(const QString &dir, const QString &readOnlyDataDir = {});

    QString path() const { return m_path; }
    // The full path of a file in the application directory.
    QString filePath(const QString &name) const;
    // Where a read-only data file (jtdb.dat, marvik.dic, Trevix2002.chm, ...) is found:
    // the application directory when it has the file, else the install's data directory.
    QString dataFile(const QString &name) const;
    // The directory in which the library's dictionary lies.
    QString dictionaryDir() const;

private:
    QString m_path;
    QString m_readOnlyData;
};

} // namespace coding
