// Reading the compiled help file: its default topic, title, contents, pages and
// pictures; and refusing files that are missing or damaged without crashing.

#include "app/chmbrowser.h"
#include "app/chmfile.h"
#include "app/helpviewer.h"

#include <QFile>
#include <QHash>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chm_lib.h>
#include <dlfcn.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <new>
#include <optional>

// --- Watching chmlib -------------------------------------------------------------------
// The test defines chmlib's entry points itself, so that every call of the program to the
// library passes here first: it is counted as made in the test's own process or in another
// one (the child that reads the file), then passed on to the library.

namespace {

const pid_t testProcess = getpid();
std::atomic<int> callsInTestProcess{0};

// Counted in memory shared with the children the test process forks.
std::atomic<int> *sharedCounter() {
    static_assert(std::atomic<int>::is_always_lock_free);
    void *page = mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                      MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    return page == MAP_FAILED ? nullptr : new (page) std::atomic<int>(0);
}
std::atomic<int> *const callsInOtherProcesses = sharedCounter();

void countCall() {
    if (getpid() == testProcess)
        ++callsInTestProcess;
    else if (callsInOtherProcesses)
        ++*callsInOtherProcesses;
}

// The library the program is linked with, loaded by its file: the linker may leave it out
// of the test, every entry point that the program calls being defined here.
void *chmlibHandle() {
    static void *const handle = dlopen(TREVIX_CHM_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    return handle;
}

template <typename Function> Function library(const char *name) {
    void *handle = chmlibHandle();
    return handle ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
}

// Looked up before any child exists.
const struct {
    decltype(&::chm_open) open = library<decltype(open)>("chm_open");
    decltype(&::chm_close) close = library<decltype(close)>("chm_close");
    decltype(&::chm_resolve_object) resolve = library<decltype(resolve)>("chm_resolve_object");
    decltype(&::chm_retrieve_object) retrieve = library<decltype(retrieve)>("chm_retrieve_object");
    decltype(&::chm_enumerate) enumerate = library<decltype(enumerate)>("chm_enumerate");
} chmlib;

} // namespace

extern "C" {

chmFile *chm_open(const char *filename) {
    countCall();
    return chmlib.open(filename);
}

void chm_close(chmFile *h) {
    countCall();
    chmlib.close(h);
}

int chm_resolve_object(chmFile *h, const char *objPath, chmUnitInfo *ui) {
    countCall();
    return chmlib.resolve(h, objPath, ui);
}

LONGINT64 chm_retrieve_object(chmFile *h, chmUnitInfo *ui, unsigned char *buf, LONGUINT64 addr,
                              LONGINT64 len) {
    countCall();
    return chmlib.retrieve(h, ui, buf, addr, len);
}

int chm_enumerate(chmFile *h, int what, CHM_ENUMERATOR e, void *context) {
    countCall();
    return chmlib.enumerate(h, what, e, context);
}

} // extern "C"

// --- Damaged copies of the help file ---------------------------------------------------

namespace {

QString builtHelpFile() {
    return QDir(qEnvironmentVariable("TREVIX_TEST_APP_DIR"))
        .filePath(QStringLiteral("Trevix2002.chm"));
}

QByteArray builtHelpBytes() {
    QFile file(builtHelpFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

quint64 number(const QByteArray &b, qsizetype at, int size) {
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | quint8(b[at + i]);
    return value;
}

void putNumber(QByteArray &b, qsizetype at, int size, quint64 value) {
    for (int i = 0; i < size; ++i, value >>= 8)
        b[at + i] = char(value & 0xff);
}

QByteArray number32(quint32 value) {
    QByteArray b(4, '\0');
    putNumber(b, 0, 4, value);
    return b;
}

// The directory's numbers: seven bits a byte, the highest first, the top bit set on every
// byte but the last.
quint64 directoryNumber(const QByteArray &b, qsizetype &at) {
    quint64 value = 0;
    while (at < b.size()) {
        const quint8 byte = quint8(b[at++]);
        value = value << 7 | (byte & 0x7f);
        if (!(byte & 0x80))
            break;
    }
    return value;
}

QByteArray directoryNumber(quint64 value) {
    QByteArray b(1, char(value & 0x7f));
    while (value >>= 7)
        b.prepend(char(0x80 | (value & 0x7f)));
    return b;
}

// Where the parts of a compiled help file lie, as far as the damaged copies need it.
struct Layout {
    qsizetype directory = 0;  // the directory header, "ITSP"
    qsizetype firstChunk = 0; // its chunks follow it
    qsizetype chunkSize = 0;
    qsizetype content = 0; // the section of the objects stored as they are
    struct Entry {
        quint64 section = 0;
        quint64 offset = 0;
        qint64 chunk = 0; // the chunk of the page list that names it
    };
    QHash<QByteArray, Entry> entries;
};

std::optional<Layout> layoutOf(const QByteArray &file) {
    // The header, "ITSF" version 3: the directory's offset at 0x48, the content's at 0x58.
    if (file.size() < 0x60 || !file.startsWith("ITSF"))
        return std::nullopt;
    Layout l;
    l.directory = qsizetype(number(file, 0x48, 8));
    l.content = qsizetype(number(file, 0x58, 8));
    if (l.directory < 0 || l.directory + 0x54 > file.size() || file.mid(l.directory, 4) != "ITSP")
        return std::nullopt;
    // The directory header: its length at 0x08, the chunk size at 0x10, the first chunk of
    // the page list at 0x20 and the number of chunks at 0x2c.
    l.firstChunk = l.directory + qsizetype(number(file, l.directory + 0x08, 4));
    l.chunkSize = qsizetype(number(file, l.directory + 0x10, 4));
    qint64 chunk = qint32(number(file, l.directory + 0x20, 4));
    const quint64 chunks = number(file, l.directory + 0x2c, 4);
    // The page list, chunks "PMGL" each naming the next at 0x10: after 0x14 bytes of
    // header, entries of name, section, offset and length, up to the chunk's free space
    // (at 0x04) before its end.
    for (quint64 seen = 0; chunk >= 0 && seen < chunks; ++seen) {
        const qsizetype start = l.firstChunk + qsizetype(chunk) * l.chunkSize;
        if (l.chunkSize < 0x14 || start + l.chunkSize > file.size() || file.mid(start, 4) != "PMGL")
            return std::nullopt;
        const qsizetype end = start + l.chunkSize - qsizetype(number(file, start + 4, 4));
        for (qsizetype at = start + 0x14; at < end;) {
            const qsizetype nameLength = qsizetype(directoryNumber(file, at));
            const QByteArray name = file.mid(at, nameLength);
            at += nameLength;
            Layout::Entry entry;
            entry.section = directoryNumber(file, at);
            entry.offset = directoryNumber(file, at);
            directoryNumber(file, at); // the length
            entry.chunk = chunk;
            l.entries.insert(name, entry);
        }
        chunk = qint32(number(file, start + 0x10, 4));
    }
    return l;
}

const QByteArray resetTable = QByteArrayLiteral(
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable");

// The help file with the block length of its compression reset table (at 0x20 of the
// table) set to 0: chmlib opens it and then divides by that length when it reads a page.
QByteArray withZeroBlockLength(const QByteArray &good) {
    const auto l = layoutOf(good);
    if (!l || !l->entries.contains(resetTable) || l->entries[resetTable].section != 0)
        return {};
    const qsizetype at = l->content + qsizetype(l->entries[resetTable].offset) + 0x20;
    if (at + 8 > good.size())
        return {};
    QByteArray damaged = good;
    putNumber(damaged, at, 8, 0);
    return damaged;
}

// That, and a page list that starts past the end of the file (the chunk number at 0x20 of
// the directory header), while the root of the index (at 0x1c, none in a file of a single
// chunk) is where the list started: objects are still found by name, but the list of pages
// cannot be read.
QByteArray withPageListPastTheEndAndZeroBlockLength(const QByteArray &good) {
    const auto l = layoutOf(good);
    QByteArray damaged = withZeroBlockLength(good);
    if (!l || damaged.isEmpty() || l->chunkSize <= 0)
        return {};
    if (qint32(number(good, l->directory + 0x1c, 4)) < 0)
        putNumber(damaged, l->directory + 0x1c, 4, number(good, l->directory + 0x20, 4));
    const qsizetype pastTheEnd = (good.size() - l->firstChunk) / l->chunkSize + 1;
    putNumber(damaged, l->directory + 0x20, 4, quint64(pastTheEnd));
    return damaged;
}

// The help file with an index chunk ("PMGI": after 0x08 bytes of header, entries of name
// and chunk number) appended and made the root of the index: its entry "/", under which lie
// "/#SYSTEM" and every page, leads to itself; its entry "::", under which lie the reader's
// own records, leads to the chunk of the page list that holds them.
QByteArray withIndexLeadingToItself(const QByteArray &good) {
    const auto l = layoutOf(good);
    if (!l || !l->entries.contains(resetTable) || l->chunkSize <= 0)
        return {};
    QByteArray damaged = good;
    const qsizetype self = (good.size() - l->firstChunk + l->chunkSize - 1) / l->chunkSize;
    damaged.resize(l->firstChunk + self * l->chunkSize, '\0');
    const QByteArray entries = directoryNumber(1) + "/" + directoryNumber(quint64(self)) +
                               directoryNumber(2) +
                               "::" + directoryNumber(quint64(l->entries[resetTable].chunk));
    QByteArray chunk = "PMGI" + number32(quint32(l->chunkSize - 8 - entries.size())) + entries;
    chunk.resize(l->chunkSize, '\0');
    damaged += chunk;
    putNumber(damaged, l->directory + 0x1c, 4, quint64(self));
    return damaged;
}

} // namespace

class ChmFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void helpFileHasItsTopicsAndPictures();
    void everyContentsEntryAndLinkLeadsToAPageOfTheFile();
    void unusableFilesAreRefused_data();
    void unusableFilesAreRefused();
    void pagesInAChineseCodePageAreDecoded();
    void theLibraryRunsOnlyInAChildProcess();

private:
    QTemporaryDir m_dir;
};

void ChmFileTest::initTestCase() {
    QVERIFY2(QFile::exists(builtHelpFile()), qPrintable(builtHelpFile()));
    QVERIFY(m_dir.isValid());
    QVERIFY(chmlib.open && chmlib.close && chmlib.resolve && chmlib.retrieve && chmlib.enumerate);
    QVERIFY(callsInOtherProcesses);
}

void ChmFileTest::helpFileHasItsTopicsAndPictures() {
    const auto chm = app::ChmFile::open(builtHelpFile());
    QVERIFY(chm);
    QCOMPARE(chm->defaultTopic(), QStringLiteral("/index.html"));
    QCOMPARE(chm->title(), QStringLiteral("Qorvan输入法第四版分词教学系统 帮助"));
    QCOMPARE(chm->contentsFile(), QStringLiteral("/toc.hhc"));

    const auto index = chm->read(chm->defaultTopic());
    QVERIFY(index);
    QVERIFY(app::ChmBrowser::decodeHtml(*index).contains(QStringLiteral("欢迎使用")));
    // Paths are taken from the root with or without the leading slash.
    QCOMPARE(chm->read(QStringLiteral("index.html")), index);

    const struct {
        const char *path;
        QSize size;
    } pictures[] = {{"/help_mainwindow.png", {360, 230}}, {"/help_colours.png", {560, 84}}};
    for (const auto &picture : pictures) {
        const auto bytes = chm->read(QString::fromLatin1(picture.path));
        QVERIFY2(bytes, picture.path);
        QCOMPARE(QImage::fromData(*bytes).size(), picture.size);
    }
    QVERIFY(!chm->read(QStringLiteral("/no-such-page.html")));
    QVERIFY(!chm->contains(QStringLiteral("/no-such-page.html")));
}

void ChmFileTest::everyContentsEntryAndLinkLeadsToAPageOfTheFile() {
    const auto chm = app::ChmFile::open(builtHelpFile());
    QVERIFY(chm);
    const auto toc = chm->read(chm->contentsFile());
    QVERIFY(toc);
    static const QRegularExpression local(QStringLiteral("name=\"Local\" value=\"([^\"]+)\""));
    static const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)[^\"]*\""));
    QStringList pages;
    for (auto it = local.globalMatch(QString::fromUtf8(*toc)); it.hasNext();)
        pages << it.next().captured(1);
    QCOMPARE(pages.size(), 6);
    for (const QString &page : std::as_const(pages)) {
        const auto html = chm->read(page);
        QVERIFY2(html, qPrintable(page));
        for (auto it = link.globalMatch(QString::fromUtf8(*html)); it.hasNext();) {
            const QString target = it.next().captured(1);
            QVERIFY2(chm->contains(target), qPrintable(page + QStringLiteral(" -> ") + target));
        }
    }
}

void ChmFileTest::unusableFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("create");
    const QByteArray good = builtHelpBytes();
    QByteArray random(4096, '\0');
    QRandomGenerator rng(2002);
    for (char &c : random)
        c = char(rng.bounded(256));
    QByteArray garbageAfterSignature = QByteArrayLiteral("ITSF") + random;
    QTest::newRow("missing") << QByteArray() << false;
    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("random bytes") << random << true;
    QTest::newRow("signature, then garbage") << garbageAfterSignature << true;
    QTest::newRow("a picture under the name") << QByteArray("\x89PNG\r\n\x1a\n", 8) << true;
    const QByteArray zeroBlocks = withZeroBlockLength(good);
    QVERIFY(!zeroBlocks.isEmpty());
    QTest::newRow("a reset table that makes the reader divide by zero") << zeroBlocks << true;
    const QByteArray noPageList = withPageListPastTheEndAndZeroBlockLength(good);
    QVERIFY(!noPageList.isEmpty());
    QTest::newRow("a page list past the end, and a reset table that divides by zero")
        << noPageList << true;
    const QByteArray loop = withIndexLeadingToItself(good);
    QVERIFY(!loop.isEmpty());
    QTest::newRow("an index chunk that leads to itself") << loop << true;
    for (int percent : {5, 10, 25, 50})
        QTest::addRow("cut to %d%%", percent) << good.left(good.size() * percent / 100) << true;
}

void ChmFileTest::unusableFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, create);
    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".chm");
    if (create) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    // A file on which the reader loops is refused once the deadline has passed; should it
    // not be, the test ends here rather than wait for ever.
    auto opened = std::async(std::launch::async,
                             [path] { return bool(app::HelpViewer::openHelpFile(path)); });
    if (opened.wait_for(app::ChmFile::kDeadline + std::chrono::seconds(20)) !=
        std::future_status::ready)
        qFatal("Opening %s did not end", qPrintable(path));
    QVERIFY(!opened.get());
}

void ChmFileTest::pagesInAChineseCodePageAreDecoded() {
    const QString text = QStringLiteral("帮助文件");
    QByteArray gbk = QByteArrayLiteral("<html><head><meta http-equiv=\"Content-Type\" "
                                       "content=\"text/html; charset=gb2312\"></head><body>");
    gbk += QByteArray("\xb0\xef\xd6\xfa\xce\xc4\xbc\xfe", 8) + "</body></html>";
    QVERIFY(app::ChmBrowser::decodeHtml(gbk).contains(text));
    // Without a charset: UTF-8 when it is valid, else the Chinese code page.
    QVERIFY(app::ChmBrowser::decodeHtml("<p>" + text.toUtf8()).contains(text));
    QVERIFY(app::ChmBrowser::decodeHtml(QByteArray("<p>\xb0\xef\xd6\xfa\xce\xc4\xbc\xfe", 11))
                .contains(text));
}

void ChmFileTest::theLibraryRunsOnlyInAChildProcess() {
    // chmlib trusts the file it reads: only a child process, that may crash or be stopped,
    // calls it.
    const int before = callsInTestProcess;
    const int elsewhereBefore = *callsInOtherProcesses;
    const auto chm = app::ChmFile::open(builtHelpFile());
    QVERIFY(chm);
    const auto index = chm->read(chm->defaultTopic());
    QVERIFY(index);
    QVERIFY(app::ChmBrowser::decodeHtml(*index).contains(QStringLiteral("欢迎使用")));
    QVERIFY(chm->read(chm->contentsFile()));
    QVERIFY(chm->contains(QStringLiteral("/help_colours.png")));
    QVERIFY(!chm->contains(QStringLiteral("/no-such-page.html")));
    QCOMPARE(callsInTestProcess - before, 0);
    QVERIFY(*callsInOtherProcesses > elsewhereBefore);
}

QTEST_MAIN(ChmFileTest)
#include "chmfile_test.moc"
