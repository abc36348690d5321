#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>
#include <utility>

namespace app {

// A compiled HTML help file (*.chm): its pages, pictures and contents file by their
// path inside the file, its default topic and its title.
//
// chmlib, which reads such files, trusts them: a damaged file can make it divide by
// zero, read out of bounds or loop for ever. So the library runs only in a child
// process, which reads every object of the file and sends their bytes back through a
// pipe before the deadline; this process keeps them and never calls the library.
class ChmFile {
public:
    // The file, or nothing when it is missing, not a compiled help file, or one that
    // the child could not read through: an object could not be read whole, or the
    // child crashed, failed, sent a broken answer or did not finish before the
    // deadline.
    static std::unique_ptr<ChmFile> open(const QString &path);

    // The topic shown first ("/index.html"), or empty when the file names none
    // that it holds.
    QString defaultTopic() const { return m_defaultTopic; }
    // The title given when the file was compiled; may be empty.
    QString title() const { return m_title; }
    // The contents file ("/toc.hhc"), or empty.
    QString contentsFile() const { return m_contentsFile; }

    // The bytes of the object at path ("/a.html"; a path without the leading
    // slash is taken from the root too; letters A-Z match a-z, as in the file's own
    // lookup), or nothing when the file does not hold it or it is larger than
    // kMaxObjectSize.
    std::optional<QByteArray> read(const QString &path) const;
    bool contains(const QString &path) const;

    // The child's side, run in the calling process: reads every object of the file
    // at path with chmlib and writes them to fd as the answer that fromAnswer takes.
    // False when the file cannot be read through. The fuzzers call both directly.
    static bool sendObjects(const char *path, int fd);
    // The file that a child's whole answer describes, or nothing when the answer is
    // cut short or malformed.
    static std::unique_ptr<ChmFile> fromAnswer(const QByteArray &answer);

    // Objects larger than this are left out rather than read.
    static constexpr qint64 kMaxObjectSize = 32 * 1024 * 1024;
    // A file whose objects, with their names, come to more than this is refused.
    static constexpr qint64 kMaxTotalSize = 64 * 1024 * 1024;
    // A file whose compressed section has longer blocks than this is refused.
    static constexpr qint64 kMaxBlockLength = 4 * 1024 * 1024;
    // A file is refused when it is not read within this time.
    static constexpr std::chrono::seconds kDeadline{10};

private:
    explicit ChmFile(QHash<QByteArray, QByteArray> objects) : m_objects(std::move(objects)) {}
    void readSystemFile();

    // By path, its letters A-Z made lower case.
    QHash<QByteArray, QByteArray> m_objects;
    QString m_defaultTopic;
    QString m_title;
    QString m_contentsFile;
};

} // namespace app
