// The user's own phrases of the input method in both frameworks' files, with the
// real SQLite and the real libime_tabledict, in a temporary data folder; and the
// hand-over of custom words over the fake framework.

#include "ime/inputmethod.h"
#include "ime/userphrases.h"
#include "support/fakeinputmethodbackend.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <utility>

namespace {

using coding::CustomWord;
using ime::UserPhraseFiles;

const QList<CustomWord> kWords{{QStringLiteral("学而时"), QStringLiteral("999998")},
                               {QStringLiteral("温故知新"), QStringLiteral("12")}};

// The rows of the IBus user database: "<tabkeys> <phrase> <freq> <user_freq>".
QStringList ibusRows(const QString &path) {
    QStringList rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(
            QStringLiteral("SELECT tabkeys, phrase, freq, user_freq FROM phrases ORDER BY id"), db);
        while (q.next())
            rows << QStringLiteral("%1 %2 %3 %4")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                             q.value(3).toString());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return rows;
}

QString ibusVersion(const QString &path) {
    QString version;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("desc"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery q(QStringLiteral("SELECT value FROM desc WHERE name = 'version'"), db);
        if (q.next())
            version = q.value(0).toString();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("desc"));
    return version;
}

void sql(const QString &path, const QStringList &statements) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("setup"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        for (const QString &statement : statements) {
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(statement)) << statement.toStdString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("setup"));
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The Fcitx 5 user dictionary as libime reads it back.
QStringList fcitxPhrases(const QString &path, const QString &dir) {
    const QString dump = QDir(dir).filePath(QStringLiteral("dump.txt"));
    const int code = QProcess::execute(QStringLiteral("libime_tabledict"),
                                       {QStringLiteral("-d"), QStringLiteral("-u"), path, dump});
    EXPECT_EQ(code, 0);
    QStringList lines =
        QString::fromUtf8(readFile(dump)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    lines.sort();
    return lines;
}

class UserPhrasesTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    UserPhraseFiles files = UserPhraseFiles::under(home.path());
};

TEST_F(UserPhrasesTest, ThePlacesAreThoseEachFrameworkReadsForTheUser) {
    const QDir dir(home.path());
    EXPECT_EQ(files.ibusDatabase, dir.filePath(QStringLiteral("ibus-table/tables/qorvan-user.db")));
    EXPECT_EQ(files.ibusCache, dir.filePath(QStringLiteral("ibus-table/tables/qorvan.cache")));
    EXPECT_EQ(files.fcitxDictionary, dir.filePath(QStringLiteral("fcitx5/table/qorvan.user.dict")));
}

TEST_F(UserPhrasesTest, IbusGetsANewDatabaseAsIbusTableMakesItAndEachWordOnce) {
    QString error;
    EXPECT_EQ(ime::addIbusUserPhrases(files, kWords, &error), 2) << error.toStdString();
    EXPECT_EQ(ibusVersion(files.ibusDatabase), QStringLiteral("1.00"));
    const QStringList expected{QStringLiteral("999998 学而时 0 0"),
                               QStringLiteral("12 温故知新 0 0")};
    EXPECT_EQ(ibusRows(files.ibusDatabase), expected);

    // Again, and with one more: only the new one is added.
    QList<CustomWord> more = kWords;
    more.append({QStringLiteral("学而时"), QStringLiteral("777")}); // the same word, another code
    EXPECT_EQ(ime::addIbusUserPhrases(files, more, &error), 1);
    EXPECT_EQ(ibusRows(files.ibusDatabase),
              expected + QStringList{QStringLiteral("777 学而时 0 0")});
}

TEST_F(UserPhrasesTest, IbusKeepsWhatTheEngineLearntAndAnOlderVersion) {
    QDir().mkpath(QFileInfo(files.ibusDatabase).absolutePath());
    sql(files.ibusDatabase,
        {QStringLiteral("CREATE TABLE desc (name PRIMARY KEY, value)"),
         QStringLiteral("INSERT INTO desc VALUES ('version', '0.9')"),
         QStringLiteral("CREATE TABLE phrases (id INTEGER PRIMARY KEY, tabkeys TEXT, phrase TEXT, "
                        "freq INTEGER, user_freq INTEGER)"),
         QStringLiteral(
             "INSERT INTO phrases (tabkeys, phrase, freq, user_freq) VALUES ('23', '我', 0, 7)")});
    QString error;
    EXPECT_EQ(ime::addIbusUserPhrases(files, kWords.mid(0, 1), &error), 1);
    EXPECT_EQ(ibusRows(files.ibusDatabase),
              (QStringList{QStringLiteral("23 我 0 7"), QStringLiteral("999998 学而时 0 0")}));
    // ibus-table moves an older database forward itself: its version stays.
    EXPECT_EQ(ibusVersion(files.ibusDatabase), QStringLiteral("0.9"));
}

TEST_F(UserPhrasesTest, IbusForgetsTheCachedCodesThatANewWordChanges) {
    writeFile(
        files.ibusCache,
        R"({"serial_number": "1", "9": [["9", "a", 1, 0]], "99": [], "999998": [], "12": [], "5": []})");
    QString error;
    ASSERT_EQ(ime::addIbusUserPhrases(files, kWords, &error), 2);
    const QJsonObject cache = QJsonDocument::fromJson(readFile(files.ibusCache)).object();
    EXPECT_EQ(cache.keys(), (QStringList{QStringLiteral("5"), QStringLiteral("serial_number")}));

    // A cache the engine could not read is dropped: it makes a new one.
    writeFile(files.ibusCache, "{not json");
    ASSERT_EQ(
        ime::addIbusUserPhrases(files, {{QStringLiteral("新词"), QStringLiteral("4")}}, &error), 1);
    EXPECT_FALSE(QFile::exists(files.ibusCache));
}

TEST_F(UserPhrasesTest, IbusRefusesWhatItCannotUseAndChangesNothing) {
    // A file that is no ibus-table database.
    QDir().mkpath(QFileInfo(files.ibusDatabase).absolutePath());
    sql(files.ibusDatabase, {QStringLiteral("CREATE TABLE phrases (code TEXT, word TEXT)")});
    QString error;
    EXPECT_EQ(ime::addIbusUserPhrases(files, kWords, &error), -1);
    EXPECT_TRUE(error.contains(files.ibusDatabase)) << error.toStdString();

    // A folder that cannot be made: a file is in its way.
    const UserPhraseFiles blocked =
        UserPhraseFiles::under(home.filePath(QStringLiteral("blocked")));
    writeFile(home.filePath(QStringLiteral("blocked/ibus-table")), "a file");
    error.clear();
    EXPECT_EQ(ime::addIbusUserPhrases(blocked, kWords, &error), -1);
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(UserPhrasesTest, FcitxGetsAUserDictionaryThatLibimeReadsAndKeepsWhatWasThere) {
    QString error;
    ASSERT_EQ(ime::addFcitxUserPhrases(files, kWords, &error), 2) << error.toStdString();
    EXPECT_EQ(fcitxPhrases(files.fcitxDictionary, home.path()),
              (QStringList{QStringLiteral("12 温故知新"), QStringLiteral("999998 学而时")}));

    // The same words again: nothing to do, the file stays as it is.
    const QByteArray before = readFile(files.fcitxDictionary);
    EXPECT_EQ(ime::addFcitxUserPhrases(files, kWords, &error), 0);
    EXPECT_EQ(readFile(files.fcitxDictionary), before);

    // A phrase put there by someone else stays beside the new word.
    const QString source = home.filePath(QStringLiteral("other.txt"));
    writeFile(source, "55 别人的词\n");
    ASSERT_EQ(QProcess::execute(QStringLiteral("libime_tabledict"),
                                {QStringLiteral("-u"), source, files.fcitxDictionary}),
              0);
    EXPECT_EQ(ime::addFcitxUserPhrases(files, kWords.mid(1), &error), 1);
    EXPECT_EQ(fcitxPhrases(files.fcitxDictionary, home.path()),
              (QStringList{QStringLiteral("12 温故知新"), QStringLiteral("55 别人的词")}));
}

TEST_F(UserPhrasesTest, FcitxWithoutItsToolSaysSoAndWritesNothing) {
    QString error;
    EXPECT_EQ(ime::addFcitxUserPhrases(files, kWords, &error,
                                       home.filePath(QStringLiteral("no-such-tool"))),
              -1);
    EXPECT_TRUE(error.contains(QStringLiteral("libime-bin"))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(files.fcitxDictionary));
}

// The hand-over over the fake framework, named as one of the real ones.
class HandOverTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    coding::FakeLibrary *library = new coding::FakeLibrary;
    coding::AppState state{coding::AppDirectory::at(dir.path()),
                           std::unique_ptr<coding::SegmentationLibrary>(library)};
    coding::FakeMessages messages;
    ime::FakeInputMethodBackend backend;
    UserPhraseFiles files = UserPhraseFiles::under(dir.filePath(QStringLiteral("data")));

    void SetUp() override {
        state.services.setMessages(&messages);
        state.inputMethod.backend = &backend;
        state.inputMethod.ImeLayoutHandle = QStringLiteral("table:qorvan");
    }
};

TEST_F(HandOverTest, BothFrameworksGetTheWordsAndTheRunningOneReadsThemAgain) {
    for (const char *framework : {"IBus", "Fcitx 5"}) {
        SCOPED_TRACE(framework);
        backend.framework = QString::fromLatin1(framework);
        backend.reloads.clear();
        const UserPhraseFiles own = UserPhraseFiles::under(dir.filePath(backend.framework));
        ime::HandOverCustomWords(state, kWords, own);
        EXPECT_EQ(ibusRows(own.ibusDatabase).size(), 2);
        EXPECT_EQ(fcitxPhrases(own.fcitxDictionary, dir.path()).size(), 2);
        EXPECT_EQ(backend.reloads, QStringList{QStringLiteral("table:qorvan")});
        // Nothing new: nothing to read again.
        ime::HandOverCustomWords(state, kWords, own);
        EXPECT_EQ(backend.reloads.size(), 1);
    }
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(HandOverTest, OnlyAFailureOfTheRunningFrameworkIsTold) {
    // The IBus folder is blocked; Fcitx 5 can be written.
    writeFile(dir.filePath(QStringLiteral("data/ibus-table")), "a file");
    backend.framework = QStringLiteral("Fcitx 5");
    ime::HandOverCustomWords(state, kWords, files);
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_EQ(backend.reloads.size(), 1);

    backend.framework = QStringLiteral("IBus");
    ime::HandOverCustomWords(state, kWords, files);
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.lastText().startsWith(
        QStringLiteral("自定义词已加入自定义词库，但还不能用 IBus 打出")))
        << messages.lastText().toStdString();
    EXPECT_EQ(backend.reloads.size(), 1); // nothing changed to read
}

TEST_F(HandOverTest, StartUpHandsOverTheWordsOfTheCustomWordFile) {
    struct FileLibrary : coding::FakeLibrary {
        QString file;
        QString customWordFile() const override { return file; }
    };
    auto *withFile = new FileLibrary;
    withFile->file = dir.filePath(QStringLiteral("custom.dic"));
    state.library.reset(withFile);
    writeFile(withFile->file, "学而时\t999998\n温故知新\t12\n");
    backend.framework = QStringLiteral("IBus");

    ime::SyncCustomWords(state, files);
    EXPECT_EQ(ibusRows(files.ibusDatabase).size(), 2);
    EXPECT_EQ(fcitxPhrases(files.fcitxDictionary, dir.path()).size(), 2);
    EXPECT_EQ(backend.reloads.size(), 1);

    // The next start finds nothing to do.
    ime::SyncCustomWords(state, files);
    EXPECT_EQ(backend.reloads.size(), 1);
    EXPECT_TRUE(messages.shown.isEmpty());
}

struct FileCase {
    const char *name;
    QByteArray bytes;
    QList<CustomWord> words;
};

class CustomWordFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(CustomWordFileTest, ReadsTheWordsAsTheLibraryDoes) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("custom.dic"));
    writeFile(path, GetParam().bytes);
    EXPECT_EQ(coding::readCustomWordFile(path), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CustomWordFileTest,
    ::testing::Values(
        FileCase{"WordsInFileOrder",
                 "学习\t3241\r\n温故\t12\n",
                 {{QStringLiteral("学习"), QStringLiteral("3241")},
                  {QStringLiteral("温故"), QStringLiteral("12")}}},
        FileCase{"TheFirstLineOfAWordWins",
                 "学习\t3241\n学习\t9\n",
                 {{QStringLiteral("学习"), QStringLiteral("3241")}}},
        FileCase{"LinesThatAreNoWordAndCodeAreSkipped",
                 "no tab\n\t12\n学习\t\n学习\t12a\n学习\t1234567\n\xff\xfe\t12\n温故\t12\n",
                 {{QStringLiteral("温故"), QStringLiteral("12")}}},
        // As the library: a control character of C1 makes no word, and only one CR
        // before the LF ends the line.
        FileCase{"ControlsAndStrayCarriageReturnsAreNoWordOrCode",
                 "\xc2\x8d\t2\n学习\t12\r\r\n温故\t12\r\n",
                 {{QStringLiteral("温故"), QStringLiteral("12")}}},
        FileCase{"AMissingFileHasNoWords", QByteArray(), {}}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
