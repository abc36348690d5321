#include "chmfile.h"

#include <QFile>
#include <QStringDecoder>

#include <chm_lib.h>
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace app {

namespace {

using Objects = QHash<QByteArray, QByteArray>;
using Clock = std::chrono::steady_clock;

QByteArray objectPath(const QString &path) {
    QString p = path;
    if (!p.startsWith(u'/'))
        p.prepend(u'/');
    return p.toUtf8();
}

// The key of an object: chmlib finds names with their letters A-Z taken as a-z.
QByteArray objectKey(const QByteArray &path) {
    return path.toLower();
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

// --- The child's answer ------------------------------------------------------------------
// For every object a record: the length of its path (4 bytes) and of its bytes (8 bytes),
// both little-endian, then the path and the bytes. Last, a record with a path of length 0
// whose second number is the count of objects sent: an answer without it was cut short.

constexpr qsizetype kRecordHeader = 12;
constexpr quint64 kMaxPathLength = CHM_MAX_PATHLEN;

void putNumber(unsigned char *to, int size, quint64 value) {
    for (int i = 0; i < size; ++i, value >>= 8)
        to[i] = static_cast<unsigned char>(value & 0xff);
}

quint64 number(const QByteArray &b, qsizetype at, int size) {
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(b[at + i]);
    return value;
}

// --- In the child: only chmlib, malloc, write and _exit ---------------------------------

bool writeAll(int fd, const void *data, size_t size) {
    const auto *at = static_cast<const unsigned char *>(data);
    while (size > 0) {
        const ssize_t written = write(fd, at, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        size -= size_t(written);
    }
    return true;
}

bool sendHeader(int fd, size_t pathLength, quint64 second) {
    unsigned char header[kRecordHeader];
    putNumber(header, 4, pathLength);
    putNumber(header + 4, 8, second);
    return writeAll(fd, header, sizeof header);
}

bool sendRecord(int fd, const char *path, size_t pathLength, const unsigned char *bytes,
                quint64 length) {
    return sendHeader(fd, pathLength, length) && writeAll(fd, path, pathLength) &&
           writeAll(fd, bytes, size_t(length));
}

struct Sender {
    int fd = -1;
    quint64 sent = 0; // bytes of the records so far
    quint64 objects = 0;
    bool failed = false;
};

// Every object of the page list, looked up by its name as the viewer looks it up (which
// walks the file's index, not the list), read whole and sent. An object larger than
// kMaxObjectSize is left out. An object that the index does not find, or that cannot be
// read whole, fails the file: chmlib's decompressor carries its state from one object to
// the next, and after a failed read it hands out wrong bytes, at their full length, for the
// objects read after it.
int sendObject(chmFile *handle, chmUnitInfo *listed, void *context) {
    auto *sender = static_cast<Sender *>(context);
    const size_t pathLength = strnlen(listed->path, kMaxPathLength + 1);
    chmUnitInfo info;
    if (pathLength == 0 || pathLength > kMaxPathLength ||
        chm_resolve_object(handle, listed->path, &info) != CHM_RESOLVE_SUCCESS) {
        sender->failed = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    if (info.length > LONGUINT64(ChmFile::kMaxObjectSize))
        return CHM_ENUMERATOR_CONTINUE;
    const quint64 record = quint64(kRecordHeader) + pathLength + info.length;
    sender->sent += record;
    // Too large a file is refused, not shown in part.
    auto *bytes = sender->sent > quint64(ChmFile::kMaxTotalSize)
                      ? nullptr
                      : static_cast<unsigned char *>(
                            std::malloc(size_t(std::max<LONGUINT64>(info.length, 1))));
    if (!bytes) {
        sender->failed = true;
        return CHM_ENUMERATOR_FAILURE;
    }
    LONGUINT64 got = 0;
    while (got < info.length) {
        const LONGINT64 n =
            chm_retrieve_object(handle, &info, bytes + got, got, LONGINT64(info.length - got));
        if (n <= 0)
            break;
        got += LONGUINT64(n);
    }
    if (got != info.length || !sendRecord(sender->fd, listed->path, pathLength, bytes, info.length))
        sender->failed = true;
    else
        ++sender->objects;
    std::free(bytes);
    return sender->failed ? CHM_ENUMERATOR_FAILURE : CHM_ENUMERATOR_CONTINUE;
}

[[noreturn]] void sendEveryObject(const char *path, int fd) {
    // A crash ends the child at once, without the handlers of the parent.
    for (int crash : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        signal(crash, SIG_DFL);
    _exit(ChmFile::sendObjects(path, fd) ? 0 : 1);
}

// --- In the parent -----------------------------------------------------------------------

// The child's answer, read until the child closes the pipe; false when the deadline
// passes first, the pipe fails or the answer grows larger than a file may send.
bool receive(int fd, Clock::time_point deadline, QByteArray &answer) {
    constexpr qsizetype kMaxAnswer = ChmFile::kMaxTotalSize + kRecordHeader;
    char buffer[64 * 1024];
    for (;;) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled = poll(&ready, 1, int(std::min<qint64>(left.count(), INT_MAX)));
        if (polled < 0 && errno != EINTR)
            return false;
        if (polled <= 0)
            continue; // interrupted, or the deadline: looked at again above
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            return false;
        }
        if (got == 0)
            return true;
        if (answer.size() + got > kMaxAnswer)
            return false;
        answer.append(buffer, got);
    }
}

void stop(pid_t child) {
    kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

// Waits for the child until the deadline, then stops it. True when it exited with 0.
bool reap(pid_t child, Clock::time_point deadline) {
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (Clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    stop(child);
    return false;
}

// The objects of a whole answer, or nothing when it is cut short or malformed.
std::optional<Objects> parseAnswer(const QByteArray &answer) {
    Objects objects;
    quint64 count = 0;
    qsizetype at = 0;
    while (answer.size() - at >= kRecordHeader) {
        const quint64 pathLength = number(answer, at, 4);
        const quint64 length = number(answer, at + 4, 8);
        at += kRecordHeader;
        if (pathLength == 0) {
            if (length != count || at != answer.size())
                return std::nullopt;
            return objects;
        }
        if (pathLength > kMaxPathLength || length > quint64(ChmFile::kMaxObjectSize) ||
            pathLength + length > quint64(answer.size() - at))
            return std::nullopt;
        const QByteArray path = answer.mid(at, qsizetype(pathLength));
        if (!path.startsWith('/') || path.contains('\0'))
            return std::nullopt;
        at += qsizetype(pathLength);
        const QByteArray key = objectKey(path);
        if (!objects.contains(key)) // the first of two names that differ in case, as chmlib
            objects.insert(key, answer.mid(at, qsizetype(length)));
        at += qsizetype(length);
        ++count;
    }
    return std::nullopt;
}

// The child's whole answer, or nothing when the child failed or was too slow.
std::optional<QByteArray> readInChild(const QByteArray &path) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return std::nullopt;
    const auto deadline = Clock::now() + ChmFile::kDeadline;
    const pid_t child = fork();
    if (child < 0) {
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(pipeEnds[0]);
        sendEveryObject(path.constData(), pipeEnds[1]);
    }
    close(pipeEnds[1]); // else the pipe would not end when the child does
    QByteArray answer;
    const bool received = receive(pipeEnds[0], deadline, answer);
    close(pipeEnds[0]);
    if (!received) {
        stop(child);
        return std::nullopt;
    }
    if (!reap(child, deadline))
        return std::nullopt;
    return answer;
}

// The block length of the file's compressed section, from its reset table: chmlib
// allocates a buffer of that size for each block it keeps, so a damaged table would make
// it ask for gigabytes. Zero when the file has no such table (nothing compressed).
quint64 compressedBlockLength(chmFile *handle) {
    static const char kResetTable[] =
        "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
        "InstanceData/ResetTable";
    chmUnitInfo info;
    if (chm_resolve_object(handle, kResetTable, &info) != CHM_RESOLVE_SUCCESS || info.space != 0)
        return 0;
    unsigned char table[40];
    if (info.length < sizeof table ||
        chm_retrieve_object(handle, &info, table, 0, sizeof table) != LONGINT64(sizeof table))
        return 0;
    quint64 length = 0;
    for (int i = 7; i >= 0; --i)
        length = length << 8 | table[32 + i];
    return length;
}

// Whether the compressed section's window is one that chmlib's decompressor can make
// (a power of two from 2^15 to 2^21 bytes, with a reset interval that is a whole number
// of half windows): it goes on without a decompressor when it cannot. True when the
// file has no compressed section.
bool decompressorFits(chmFile *handle) {
    chmUnitInfo info;
    if (chm_resolve_object(handle, "::DataSpace/Storage/MSCompressed/ControlData", &info) !=
        CHM_RESOLVE_SUCCESS)
        return true;
    unsigned char data[24];
    if (info.space != 0 || info.length < sizeof data ||
        chm_retrieve_object(handle, &info, data, 0, sizeof data) != LONGINT64(sizeof data))
        return false;
    const auto at = [&data](int offset) {
        return quint32(data[offset]) | quint32(data[offset + 1]) << 8 |
               quint32(data[offset + 2]) << 16 | quint32(data[offset + 3]) << 24;
    };
    if (std::memcmp(data + 4, "LZXC", 4) != 0)
        return false;
    quint64 resetInterval = at(12);
    quint64 window = at(16);
    if (at(8) == 2) {
        resetInterval *= 0x8000;
        window *= 0x8000;
    }
    const bool powerOfTwo = window != 0 && (window & (window - 1)) == 0;
    return powerOfTwo && window >= (1u << 15) && window <= (1u << 21) && resetInterval != 0 &&
           resetInterval % (window / 2) == 0 && at(20) != 0;
}

// Whether the file's headers describe a directory that lies inside the file, in blocks
// no longer than the directory: chmlib takes both as they stand and allocates a block
// of the length the header gives before it reads anything.
bool headersFitTheFile(const char *path) {
    const int file = ::open(path, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat st;
    unsigned char itsf[88];
    unsigned char itsp[0x54];
    bool fits = fstat(file, &st) == 0 && pread(file, itsf, sizeof itsf, 0) == sizeof itsf &&
                std::memcmp(itsf, "ITSF", 4) == 0;
    if (fits) {
        const auto at = [](const unsigned char *b, int offset, int size) {
            quint64 value = 0;
            for (int i = size - 1; i >= 0; --i)
                value = value << 8 | b[offset + i];
            return value;
        };
        const quint64 size = quint64(st.st_size);
        const quint64 dirOffset = at(itsf, 72, 8);
        const quint64 dirLength = at(itsf, 80, 8);
        fits = dirOffset < size && dirLength <= size - dirOffset && dirLength >= sizeof itsp &&
               pread(file, itsp, sizeof itsp, off_t(dirOffset)) == sizeof itsp &&
               std::memcmp(itsp, "ITSP", 4) == 0;
        const quint64 blockLength = fits ? at(itsp, 16, 4) : 0;
        fits = fits && blockLength > 0 && blockLength <= dirLength;
    }
    ::close(file);
    return fits;
}

} // namespace

bool ChmFile::sendObjects(const char *path, int fd) {
    if (!headersFitTheFile(path))
        return false;
    chmFile *handle = chm_open(path);
    if (!handle)
        return false;
    // Real files have blocks of 32 KiB; anything past a few MiB is a damaged file.
    if (compressedBlockLength(handle) > quint64(kMaxBlockLength) || !decompressorFits(handle)) {
        chm_close(handle);
        return false;
    }
    Sender sender;
    sender.fd = fd;
    const int listed =
        chm_enumerate(handle, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_SPECIAL | CHM_ENUMERATE_FILES,
                      sendObject, &sender);
    chm_close(handle);
    return listed && !sender.failed && sendHeader(fd, 0, sender.objects);
}

std::unique_ptr<ChmFile> ChmFile::fromAnswer(const QByteArray &answer) {
    auto objects = parseAnswer(answer);
    if (!objects)
        return nullptr;
    std::unique_ptr<ChmFile> chm(new ChmFile(std::move(*objects)));
    chm->readSystemFile();
    return chm;
}

std::unique_ptr<ChmFile> ChmFile::open(const QString &path) {
    // Only a file that starts like a compiled help file reaches the library.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.read(4) != QByteArrayLiteral("ITSF"))
        return nullptr;
    file.close();
    const auto answer = readInChild(QFile::encodeName(path));
    return answer ? fromAnswer(*answer) : nullptr;
}

bool ChmFile::contains(const QString &path) const {
    return m_objects.contains(objectKey(objectPath(path)));
}

std::optional<QByteArray> ChmFile::read(const QString &path) const {
    const auto found = m_objects.constFind(objectKey(objectPath(path)));
    if (found == m_objects.cend())
        return std::nullopt;
    return *found;
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
