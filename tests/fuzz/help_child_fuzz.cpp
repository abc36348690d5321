// The help file's child side, run in this process: chmlib reads every object of arbitrary
// bytes and the child writes them as its answer, which the parent's side then parses. The
// answer of a file read through must parse; the parser takes whatever the child sends.
#include "fuzzsupport.h"

#include "app/chmfile.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The answer the child writes, read back from a file.
QByteArray answerOf(const QString &path, bool *sent) {
    const QString answerPath = fuzz::scratchDir() + QStringLiteral("/answer");
    const int fd = ::open(QFile::encodeName(answerPath).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    fuzz::check(fd >= 0, "no file for the answer");
    *sent = app::ChmFile::sendObjects(QFile::encodeName(path).constData(), fd);
    ::close(fd);
    QFile answer(answerPath);
    fuzz::check(answer.open(QIODevice::ReadOnly), "the answer cannot be read");
    return answer.readAll();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv) {
    fuzz::startQt(argc, argv, false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    // The parent's side takes the bytes as an answer too.
    app::ChmFile::fromAnswer(bytes);
    // Only a file that starts like a compiled help file reaches chmlib, as in the program.
    if (!bytes.startsWith("ITSF"))
        return 0;
    bool sent = false;
    const QByteArray answer =
        answerOf(fuzz::writeScratch(QStringLiteral("help.chm"), bytes), &sent);
    const auto chm = app::ChmFile::fromAnswer(answer);
    if (sent)
        fuzz::check(chm != nullptr, "the answer of a file read through does not parse");
    return 0;
}
