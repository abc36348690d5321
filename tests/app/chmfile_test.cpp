// Reading the compiled help file: its default topic, title, contents, pages and
// pictures; and refusing files that are missing or damaged without crashing.

#include "app/chmbrowser.h"
#include "app/chmfile.h"
#include "app/helpviewer.h"

#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <chm_lib.h>

#include <cstring>

namespace {

QString builtHelpFile() {
    return QDir(qEnvironmentVariable("TREVIX_TEST_APP_DIR"))
        .filePath(QStringLiteral("Trevix2002.chm"));
}

QByteArray builtHelpBytes() {
    QFile file(builtHelpFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The help file with the block length of its compression reset table set to 0:
// chmlib opens it and then divides by that length when it reads a page.
QByteArray withZeroBlockLength(const QByteArray &good, const QString &path) {
    chmFile *handle = chm_open(QFile::encodeName(path).constData());
    if (!handle)
        return {};
    chmUnitInfo table;
    const int found = chm_resolve_object(
        handle,
        "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
        "InstanceData/ResetTable",
        &table);
    chm_close(handle);
    if (found != CHM_RESOLVE_SUCCESS || good.size() < 0x60)
        return {};
    quint64 dataOffset = 0; // version 3 header: the offset of section 0 at 0x58
    std::memcpy(&dataOffset, good.constData() + 0x58, 8);
    const quint64 blockLength = dataOffset + table.start + 0x20;
    if (blockLength + 8 > quint64(good.size()))
        return {};
    QByteArray damaged = good;
    std::memset(damaged.data() + blockLength, 0, 8);
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

private:
    QTemporaryDir m_dir;
};

void ChmFileTest::initTestCase() {
    QVERIFY2(QFile::exists(builtHelpFile()), qPrintable(builtHelpFile()));
    QVERIFY(m_dir.isValid());
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
    const QByteArray zeroBlocks = withZeroBlockLength(good, builtHelpFile());
    QVERIFY(!zeroBlocks.isEmpty());
    QTest::newRow("a reset table that makes the reader divide by zero") << zeroBlocks << true;
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
        file.write(bytes);
    }
    QVERIFY(!app::HelpViewer::openHelpFile(path));
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

QTEST_MAIN(ChmFileTest)
#include "chmfile_test.moc"
