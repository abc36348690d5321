// The program's interface to the segmentation library, over the real generated
// dictionary of the build tree.
#include "coding/marviklibrary.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

QString appDir() {
    return qEnvironmentVariable("TREVIX_TEST_APP_DIR");
}

// The dictionary is loaded once per process, so the failure case comes first and
// the working library is checked in the same test after it.
TEST(MarvikLibrary, MissingDictionaryIsReportedThenTheRealOneLoads) {
    QTemporaryDir empty;
    coding::MarvikLibrary missing(empty.path());
    coding::LibraryError error;
    EXPECT_FALSE(missing.ensureLoaded(&error));
    EXPECT_EQ(error.kind, coding::LibraryError::Kind::DictionaryUnusable);
    EXPECT_TRUE(error.path.endsWith("marvik.dic")) << error.path.toStdString();
    EXPECT_FALSE(error.detail.isEmpty());
    EXPECT_TRUE(missing.divideSentence("我们", &error).isNull());
    EXPECT_TRUE(missing.getItemCode("我").isEmpty());

    QTemporaryDir user;
    coding::MarvikLibrary lib(appDir(), user.filePath("custom.dic"));
    error = {};
    ASSERT_TRUE(lib.ensureLoaded(&error)) << error.detail.toStdString();

    struct Case {
        const char *name, *text, *tags;
    } const cases[] = {
        {"words_alternate", "我们学习", "0011"},
        {"punctuation_and_letters", "我们，ab1。", "0024442"},
        {"empty", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lib.divideSentence(QString::fromUtf8(c.text), &error), QString::fromUtf8(c.tags));
    }
    EXPECT_EQ(lib.getItemCode("我"), "23550");
    EXPECT_EQ(lib.getItemCode("学习"), "324171");
    EXPECT_EQ(lib.getItemCode("a"), "");
    EXPECT_EQ(lib.convert("学习"), "324171");

    // A custom word: added once, then present, then preferred by segmentation.
    const QString word = QStringLiteral("习我们");
    EXPECT_EQ(lib.divideSentence("学习我们", &error), "0011");
    EXPECT_EQ(lib.addWord("1723", word), 0);
    EXPECT_EQ(lib.addWord("1723", word), 1);
    EXPECT_EQ(lib.divideSentence("学习我们", &error), "0111");
    EXPECT_EQ(lib.getItemCode(word), "1723");
    EXPECT_TRUE(QFile::exists(user.filePath("custom.dic")));

    // A custom file that cannot be written: -1.
    QFile blocker(user.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    coding::MarvikLibrary blocked(appDir(), user.filePath("not-a-folder/custom.dic"));
    ASSERT_TRUE(blocked.ensureLoaded(&error));
    EXPECT_EQ(blocked.addWord("1724", QStringLiteral("我们学")), -1);
}

} // namespace

namespace {

// The custom words are where trevix-seg finds them; an earlier release's file is
// moved there once, never over a newer one.
TEST(CustomDictionary, LivesInTheDataHomeAndAdoptsAnEarlierFile) {
    QTemporaryDir data;
    const QByteArray before = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    const QString path = coding::defaultCustomDictionaryPath();
    EXPECT_EQ(path, data.filePath("Trevix2006/custom.dic"));

    const QString earlier = data.filePath("Trevix2006/trevix/custom.dic");
    ASSERT_TRUE(QDir().mkpath(data.filePath("Trevix2006/trevix")));
    const auto write = [](const QString &file, const QByteArray &bytes) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
    };
    ASSERT_TRUE(write(earlier, "earlier"));
    EXPECT_TRUE(coding::adoptEarlierCustomWords(earlier));
    EXPECT_FALSE(QFile::exists(earlier));
    QFile moved(path);
    ASSERT_TRUE(moved.open(QIODevice::ReadOnly));
    EXPECT_EQ(moved.readAll(), "earlier");

    ASSERT_TRUE(write(earlier, "older"));
    EXPECT_TRUE(coding::adoptEarlierCustomWords(earlier));
    EXPECT_TRUE(QFile::exists(earlier)); // the newer file stays
    qputenv("XDG_DATA_HOME", before);
}

} // namespace
