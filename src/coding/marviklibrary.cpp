#include "marviklibrary.h"

#include <marvik/marvik.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace coding {

namespace {
const char16_t *utf16(const QString &s) {
    return reinterpret_cast<const char16_t *>(s.utf16());
}
} // namespace

MarvikLibrary::MarvikLibrary(QString dictDir, QString userDictPath)
    : m_dictDir(std::move(dictDir)), m_userDictPath(std::move(userDictPath)),
      m_customFile(m_userDictPath.isEmpty() ? defaultCustomDictionaryPath() : m_userDictPath) {}

QString MarvikLibrary::customWordFile() const {
    return m_customFile;
}

bool MarvikLibrary::ensureLoaded(LibraryError *error) {
    if (!m_userDictPath.isEmpty()) {
        MarvikSetUserDictPath(utf16(m_userDictPath));
        m_userDictPath.clear(); // set once; the library keeps it
    }
    if (MarvikLoad(utf16(m_dictDir)) == MARVIK_OK)
        return true;
    if (error)
        *error = {LibraryError::Kind::DictionaryUnusable,
                  QDir(m_dictDir).filePath(QStringLiteral("marvik.dic")),
                  QString::fromUtf8(MarvikLastError()), 0};
    return false;
}

QString MarvikLibrary::divideSentence(const QString &text, LibraryError *error) {
    if (!ensureLoaded(error))
        return {};
    QString tags(text.size(), QChar(u'\0'));
    const int16_t r =
        DivideSentence(utf16(m_dictDir), utf16(text), int32_t(text.size()),
                       reinterpret_cast<char16_t *>(tags.data()), int32_t(tags.size()));
    if (r != MARVIK_OK) {
        if (error)
            *error = {LibraryError::Kind::SegmentationFailed, {}, {}, r};
        return {};
    }
    return tags;
}

QString MarvikLibrary::convert(const QString &word) {
    if (!ensureLoaded(nullptr))
        return {};
    char16_t buf[10] = {};
    if (Convert(utf16(word), buf, 10) <= 0)
        return {};
    return QString::fromUtf16(buf);
}

int MarvikLibrary::addWord(const QString &code, const QString &word) {
    if (!ensureLoaded(nullptr))
        return -1;
    return AddWord(utf16(code), utf16(word));
}

QString MarvikLibrary::getItemCode(const QString &item) {
    if (!ensureLoaded(nullptr))
        return {};
    char16_t buf[6];
    const int16_t r = GetItemCode(utf16(item), buf, 6);
    if (r == 0 || r == -1)
        return {};
    return QString::fromUtf16(buf, 6).remove(QLatin1Char(' '));
}

QString defaultCustomDictionaryPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Trevix2006/custom.dic"));
}

bool adoptEarlierCustomWords(const QString &earlierPath) {
    const QString path = defaultCustomDictionaryPath();
    if (QFile::exists(path) || !QFile::exists(earlierPath))
        return true;
    return QDir().mkpath(QFileInfo(path).absolutePath()) && QFile::rename(earlierPath, path);
}

} // namespace coding
