#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

struct chmFile;

namespace app {

// A compiled HTML help file (*.chm), read with chmlib: its pages, pictures and
// contents file by their path inside the file, its default topic and its title.
class ChmFile {
public:
    // The file, or nothing when it is missing or not a compiled help file.
    static std::unique_ptr<ChmFile> open(const QString &path);
    ~ChmFile();

    // The topic shown first ("/index.html"), or empty when the file names none
    // that it holds.
    QString defaultTopic() const { return m_defaultTopic; }
    // The title given when the file was compiled; may be empty.
    QString title() const { return m_title; }
    // The contents file ("/toc.hhc"), or empty.
    QString contentsFile() const { return m_contentsFile; }

    // The bytes of the object at path ("/a.html"; a path without the leading
    // slash is taken from the root too), or nothing when the file does not hold
    // it or it cannot be read whole.
    std::optional<QByteArray> read(const QString &path) const;
    bool contains(const QString &path) const;

    // Objects larger than this are refused rather than read.
    static constexpr qint64 kMaxObjectSize = 32 * 1024 * 1024;

private:
    explicit ChmFile(chmFile *handle) : m_handle(handle) {}
    void readSystemFile();

    chmFile *m_handle;
    QString m_defaultTopic;
    QString m_title;
    QString m_contentsFile;
};

} // namespace app
