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

namespace {

QString builtHelpFile() {
    return QDir(qEnvironmentVariable("TREVIX_TEST_APP_DIR"))
        .filePath(QStringLiteral("Trevix2002.chm"));
}

QByteArray builtHelpBytes() {
    QFile file(builtHelpFile());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
