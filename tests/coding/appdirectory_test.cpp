// Where the program finds its files: the application directory it writes into and the
// install's data directory that the read-only data of an installed copy comes from.
#include "coding/appdirectory.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace coding {
namespace {

// Sets (or, with a null value, removes) an environment variable for one test.
class ScopedEnv {
public:
    ScopedEnv(const char *name, const QByteArray &value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    const char *m_name;
    bool m_had;
    QByteArray m_old;
};

void touch(const QString &path, const QByteArray &content = "x") {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(content);
}

TEST(AppDirectoryTest, TheInstallDataDirectoryIsTheOneOfThePrefixWithoutTheVariable) {
    const ScopedEnv env("TREVIX_DATA_DIR", QByteArray());
    EXPECT_EQ(AppDirectory::installDataDir(), QStringLiteral(TREVIX_EXPECTED_DATADIR));
}

TEST(AppDirectoryTest, TrevixDataDirNamesTheInstallDataDirectory) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    {
        const ScopedEnv env("TREVIX_DATA_DIR", QFile::encodeName(data.path()));
        EXPECT_EQ(AppDirectory::installDataDir(), QDir::cleanPath(data.path()));
    }
    // A relative name is taken from the current directory.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(data.path()));
    QDir(data.path()).mkdir(QStringLiteral("share"));
    const ScopedEnv env("TREVIX_DATA_DIR", "share");
    EXPECT_EQ(AppDirectory::installDataDir(), QDir(data.path()).filePath(QStringLiteral("share")));
    QDir::setCurrent(before);
}

TEST(AppDirectoryTest, AnInstalledCopyWritesIntoTheUsersDirectoryAndReadsTheDataDirectory) {
    QTemporaryDir data;
    ASSERT_TRUE(data.isValid());
    touch(QDir(data.path()).filePath(QStringLiteral("jtdb.dat")));
    touch(QDir(data.path()).filePath(QStringLiteral("marvik.dic")));
    const ScopedEnv noAppDir("TREVIX_APP_DIR", QByteArray());
    const ScopedEnv env("TREVIX_DATA_DIR", QFile::encodeName(data.path()));

    // The test's own folder holds no jtdb.dat, as /usr/bin does not.
    const AppDirectory dir = AppDirectory::resolve();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    ASSERT_FALSE(user.isEmpty());
    EXPECT_EQ(dir.path(), QDir::cleanPath(user));
    EXPECT_TRUE(QDir(user).exists());
    EXPECT_NE(dir.path(), QDir::cleanPath(data.path()));

    EXPECT_EQ(dir.dataFile(QStringLiteral("jtdb.dat")),
              QDir(data.path()).filePath(QStringLiteral("jtdb.dat")));
    EXPECT_EQ(dir.dictionaryDir(), QDir::cleanPath(data.path()));
    // What the data directory lacks is looked for in the user's directory only.
    EXPECT_EQ(dir.dataFile(QStringLiteral("qorvan.txt")),
              QDir(user).filePath(QStringLiteral("qorvan.txt")));
    // Files written go to the user's directory.
    EXPECT_EQ(dir.filePath(QStringLiteral("temp.zh")),
              QDir(user).filePath(QStringLiteral("temp.zh")));

    // A file of the user's directory comes before the installed one.
    touch(QDir(user).filePath(QStringLiteral("jtdb.dat")));
    EXPECT_EQ(dir.dataFile(QStringLiteral("jtdb.dat")),
              QDir(user).filePath(QStringLiteral("jtdb.dat")));
    QFile::remove(QDir(user).filePath(QStringLiteral("jtdb.dat")));
}

TEST(AppDirectoryTest, TrevixAppDirKeepsTheDataDirectoryNamed) {
    QTemporaryDir app;
    QTemporaryDir data;
    ASSERT_TRUE(app.isValid() && data.isValid());
    touch(QDir(data.path()).filePath(QStringLiteral("filter.dat")));
    const ScopedEnv appEnv("TREVIX_APP_DIR", QFile::encodeName(app.path()));
    const ScopedEnv dataEnv("TREVIX_DATA_DIR", QFile::encodeName(data.path()));

    const AppDirectory dir = AppDirectory::resolve();
    EXPECT_EQ(dir.path(), QDir::cleanPath(app.path()));
    EXPECT_EQ(dir.dataFile(QStringLiteral("filter.dat")),
              QDir(data.path()).filePath(QStringLiteral("filter.dat")));
}

} // namespace
} // namespace coding
