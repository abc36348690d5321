#include "chmfile.h"

#include <QFile>
#include <QStringDecoder>

#include <cstdlib>

#include <chm_lib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace app {

namespace {

QByteArray objectPath(const QString &path) {
    QString p = path;
    if (!p.startsWith(u'/'))
        p.prepend(u'/');
    return p.toUtf8();
}

// Text of the help file's own records: UTF-8 when it is valid UTF-8, else the
// Chinese code page in which such files are usually compiled.
QString decodeName(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder gb("GB18030");
    return gb.isValid() ? QString(gb.decode(bytes)) : QString::fromLatin1(bytes);
}

quint16 le16(const QByteArray &b, qsizetype at) {
    return quint16(quint8(b[at])) | quint16(quint8(b[at + 1])) << 8;
}

int readEveryObject(chmFile *handle, chmUnitInfo *info, void *) {
    if (info->length == 0 || info->length > LONGUINT64(ChmFile::kMaxObjectSize))
        return CHM_ENUMERATOR_CONTINUE;
    auto *buffer = static_cast<unsigned char *>(std::malloc(size_t(info->length)));
    if (!buffer)
        return CHM_ENUMERATOR_FAILURE;
    chm_retrieve_object(handle, info, buffer, 0, LONGINT64(info->length));
    std::free(buffer);
    return CHM_ENUMERATOR_CONTINUE;
}

// chmlib trusts the file: some damaged files make it divide by zero or read out
// of bounds. So a child process reads every object of the file first; only a
// file that the child got through is opened here.
bool survivesFullRead(const QByteArray &path) {
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        // Only chmlib and the C library here: nothing of the parent's threads.
        chmFile *handle = chm_open(path.constData());
        if (!handle)
            _exit(1);
        chm_enumerate(handle, CHM_ENUMERATE_ALL, readEveryObject, nullptr);
        chm_close(handle);
        _exit(0);
    }
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + seconds(10);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            break;
        if (done < 0)
            return false;
        if (steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(milliseconds(2));
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

std::unique_ptr<ChmFile> ChmFile::open(const QString &path) {
    // Only a file that starts like a compiled help file reaches the library.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(4) != QByteArrayLiteral("ITSF"))
        return nullptr;
    file.close();
    const QByteArray nativePath = QFile::encodeName(path);
    if (!survivesFullRead(nativePath))
        return nullptr;
    chmFile *handle = chm_open(nativePath.constData());
    if (!handle)
        return nullptr;
    std::unique_ptr<ChmFile> chm(new ChmFile(handle));
    chm->readSystemFile();
    return chm;
}

ChmFile::~ChmFile() {
    chm_close(m_handle);
}

bool ChmFile::contains(const QString &path) const {
    chmUnitInfo info;
    return chm_resolve_object(m_handle, objectPath(path).constData(), &info) == CHM_RESOLVE_SUCCESS;
}

std::optional<QByteArray> ChmFile::read(const QString &path) const {
    chmUnitInfo info;
    if (chm_resolve_object(m_handle, objectPath(path).constData(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > LONGUINT64(kMaxObjectSize))
        return std::nullopt;
    QByteArray bytes(qsizetype(info.length), Qt::Uninitialized);
    if (bytes.isEmpty())
        return bytes;
    const LONGINT64 got =
        chm_retrieve_object(m_handle, &info, reinterpret_cast<unsigned char *>(bytes.data()), 0,
                            LONGINT64(info.length));
    if (got != LONGINT64(info.length))
        return std::nullopt; // damaged: the object cannot be read whole
    return bytes;
}

void ChmFile::readSystemFile() {
    // "/#SYSTEM": a version, then records of (code, length, data); code 0 names
    // the contents file, 2 the default topic, 3 the title.
    const auto system = read(QStringLiteral("/#SYSTEM"));
    QString topic;
    if (system) {
        const QByteArray &b = *system;
        qsizetype at = 4;
        while (at + 4 <= b.size()) {
            const quint16 code = le16(b, at);
            const quint16 length = le16(b, at + 2);
            at += 4;
            if (at + length > b.size())
                break;
            QByteArray data = b.mid(at, length);
            const qsizetype nul = data.indexOf('\0');
            if (nul >= 0)
                data.truncate(nul);
            if (code == 0 && !data.isEmpty())
                m_contentsFile = u'/' + decodeName(data);
            else if (code == 2)
                topic = decodeName(data);
            else if (code == 3)
                m_title = decodeName(data);
            at += length;
        }
    }
    if (m_contentsFile.startsWith(QLatin1String("//")))
        m_contentsFile.remove(0, 1);
    if (!topic.isEmpty() && contains(topic)) {
        m_defaultTopic = topic.startsWith(u'/') ? topic : u'/' + topic;
        return;
    }
    for (const char *candidate : {"/index.html", "/index.htm", "/default.html", "/default.htm"}) {
        if (contains(QString::fromLatin1(candidate))) {
            m_defaultTopic = QString::fromLatin1(candidate);
            return;
        }
    }
}

} // namespace app
