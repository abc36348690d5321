// The bad inputs of the program's readers and windows, in one table: each row makes a
// file that is empty, binary, truncated, huge, in the wrong encoding, hand-edited,
// unreadable or a folder (or a save to a target that cannot take it), feeds it to the
// reader or window that meets it in the program, and checks the message the user gets
// and that no file that was there before was changed or lost.
#include "app/chmfile.h"
#include "coding/appstate.h"
#include "coding/customword.h"
#include "coding/rtf.h"
#include "coding/settings.h"
#include "history/resultshistory.h"
#include "prepare/examplefile.h"
#include "prepare/filterlist.h"
#include "prepare/frmopenfile.h"
#include "prepare/textcodec.h"
#include "support/fakelibrary.h"
#include "support/fakeservices.h"
#include "words/customwords.h"

#include "../prepare/fakereceiver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <map>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString write(const QDir &dir, const QString &name, const QByteArray &bytes) {
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path;
}

// Every file below dir with the hash of its bytes.
std::map<QString, QByteArray> snapshot(const QDir &dir) {
    std::map<QString, QByteArray> files;
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        if (f.open(QIODevice::ReadOnly))
            files[dir.relativeFilePath(path)] =
                QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha1);
    }
    return files;
}

// Runs save in a child process whose files can grow to limit bytes at most, as on a full
// disk; gives the message it reports.
QString underFileSizeLimit(rlim_t limit, const std::function<QString()> &save) {
    int ends[2];
    if (pipe(ends) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child == 0) {
        close(ends[0]);
        signal(SIGXFSZ, SIG_IGN); // a write past the limit fails with EFBIG instead
        const rlimit r{limit, limit};
        setrlimit(RLIMIT_FSIZE, &r);
        const QByteArray message = save().toUtf8();
        [[maybe_unused]] const ssize_t n = ::write(ends[1], message.constData(), message.size());
        _exit(0);
    }
    close(ends[1]);
    QByteArray message;
    char buffer[4096];
    for (ssize_t n; (n = read(ends[0], buffer, sizeof buffer)) > 0;)
        message.append(buffer, n);
    close(ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return QString::fromUtf8(message);
}

// The message frmOpenFile shows for the file at path, chosen through its file dialog.
QString openTextFile(const QString &path) {
    QTemporaryDir appDir;
    coding::AppState state(coding::AppDirectory::at(appDir.path()),
                           std::make_unique<coding::FakeLibrary>());
    coding::FakeMessages messages;
    coding::FakeFiles files;
    state.services.setMessages(&messages);
    state.services.setFiles(&files);
    FakeReceiver receiver(state);
    prepare::frmOpenFile dialog(state, receiver);
    dialog.show();
    files.openAnswers.enqueue(path);
    QTest::mouseClick(dialog.findChild<QAbstractButton *>(QStringLiteral("cmdSelectFile")),
                      Qt::LeftButton);
    return messages.lastText();
}

QString example(const QString &mainPath) {
    prepare::ExampleError error;
    return prepare::readExample(mainPath, &error) ? QStringLiteral("opened")
                                                  : prepare::exampleErrorMessage(error);
}

QByteArray rtfOf(const QString &text) {
    coding::RtfText t;
    t.text = text;
    t.runs = {{0, text.size(), {}}};
    return coding::writeRtf(t);
}

// What the program takes from the settings file at start: the defaults where a value is
// no plain text or the file cannot be read.
QString settingsLoad(const QString &path) {
    coding::Settings settings(path);
    coding::SettingValues values;
    settings.loadInto(values);
    coding::SettingValues defaults;
    coding::Settings none(QStringLiteral("/nonexistent/Trevix2006.conf"));
    none.loadInto(defaults);
    if (!settings.loadError().isEmpty())
        return settings.loadError();
    return values == defaults ? QStringLiteral("defaults") : QStringLiteral("values");
}

QString historyOpen(const QString &path) {
    history::ResultsHistory h(path);
    QString error;
    if (!h.open(&error))
        return error;
    const QString notice = h.takeNotice();
    return notice.isEmpty() ? QStringLiteral("opened") : notice;
}

history::TestEntry anEntry() {
    history::TestEntry e;
    e.id = 1;
    e.endedAt = QDateTime::fromSecsSinceEpoch(1'800'000'000, Qt::UTC);
    e.textHead = QStringLiteral("我们学习");
    e.total = 20;
    return e;
}

const QString kTwenty = QStringLiteral("我们学习汉语，这是一篇用来测试分词的短文。");

struct Row {
    const char *name;
    // Makes the input in dir and gives the path the program is handed.
    std::function<QString(const QDir &dir)> make;
    // What the program does with it; gives the message the user gets.
    std::function<QString(const QString &path)> act;
    const char *message; // a part of that message
};

const Row kRows[] = {
    // --- text files for a test (the open-file window) ---
    {"text_empty", [](const QDir &d) { return write(d, "a.txt", {}); }, openTextFile,
     "此文件中的汉字太少"},
    {"text_binary",
     [](const QDir &d) { return write(d, "a.txt", QByteArray::fromHex("89504e470d0a1a0a0000")); },
     openTextFile, "此文件不是文本文件"},
    {"text_utf16_without_mark_of_controls",
     [](const QDir &d) { return write(d, "a.txt", QByteArray("\x01\x00\x02\x00\x03\x00", 6)); },
     openTextFile, "此文件不是文本文件"},
    {"text_huge_of_blanks",
     [](const QDir &d) { return write(d, "a.txt", QByteArray(6 << 20, ' ') + "我们"); },
     openTextFile, "此文件中的汉字太少"},
    {"text_a_folder",
     [](const QDir &d) { return QDir().mkpath(d.filePath("a.txt")), d.filePath("a.txt"); },
     openTextFile, "无法读取此文件"},
    {"text_a_dangling_link",
     [](const QDir &d) {
         QFile::link(d.filePath("gone.txt"), d.filePath("a.txt"));
         return d.filePath("a.txt");
     },
     openTextFile, "无法读取此文件"},
    // --- examples (*.sav and its companion) ---
    {"example_without_companion", [](const QDir &d) { return write(d, "a.sav", rtfOf(kTwenty)); },
     example, "辅助文件不存在"},
    {"example_main_binary",
     [](const QDir &d) {
         write(d, "a.ext", "\"0011\"\r\n");
         return write(d, "a.sav", QByteArray::fromHex("00ff00ff7f454c46"));
     },
     example, "此文件不是有效的分词例文"},
    {"example_main_truncated",
     [](const QDir &d) {
         write(d, "a.ext", "\"0011\"\r\n");
         return write(d, "a.sav", rtfOf(QStringLiteral("我们学习")).left(30));
     },
     example, "此文件不是有效的分词例文"},
    {"example_companion_hand_edited_unclosed_quote",
     [](const QDir &d) {
         write(d, "a.ext", "\"0011\r\n");
         return write(d, "a.sav", rtfOf(QStringLiteral("我们学习")));
     },
     example, "辅助文件已损坏"},
    {"example_companion_of_other_tags",
     [](const QDir &d) {
         write(d, "a.ext", "\"001\"\r\n");
         return write(d, "a.sav", rtfOf(QStringLiteral("我们学习")));
     },
     example, "分词例文与辅助文件不一致"},
    {"example_companion_a_folder",
     [](const QDir &d) {
         QDir().mkpath(d.filePath("a.ext"));
         return write(d, "a.sav", rtfOf(QStringLiteral("我们学习")));
     },
     example, "辅助文件"},
    // --- the filter list, the settings, the history, the help file ---
    {"filter_list_huge",
     [](const QDir &d) { return write(d, "filter.dat", QByteArray(2 << 20, 'x')); },
     [](const QString &path) {
         QFile f(path);
         f.open(QIODevice::ReadOnly);
         prepare::FilterList list;
         QString error;
         return list.read(f, &error) ? QStringLiteral("read") : error;
     },
     "文件太大"},
    {"settings_huge",
     [](const QDir &d) { return write(d, "Trevix2006.conf", "[x]\n" + QByteArray(100000, 'a')); },
     settingsLoad, "文件太大"},
    {"settings_hand_edited_variant",
     [](const QDir &d) {
         return write(d, "Trevix2006.conf",
                      "[%U7528%U6237%U8BBE%U7F6E]\n%U9650%U5236%U65F6%U95F4%U957F%U5EA6="
                      "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x6QImage)\n");
     },
     settingsLoad, "defaults"},
    {"history_damaged",
     [](const QDir &d) { return write(d, "history.sqlite", QByteArray(4096, '\x5a')); },
     historyOpen, "history.sqlite.damaged-"},
    {"history_of_a_newer_release",
     [](const QDir &d) {
         const QString path = d.filePath("history.sqlite");
         {
             history::ResultsHistory h(path);
             QString error;
             h.open(&error);
         }
         QFile f(path);
         f.open(QIODevice::ReadWrite);
         f.seek(60); // SQLite's user_version, big-endian
         f.write(QByteArray("\x00\x00\x00\x63", 4));
         return path;
     },
     historyOpen, "较新"},
    {"help_file_not_compiled_help",
     [](const QDir &d) { return write(d, "help.chm", "<html>no help</html>"); },
     [](const QString &path) {
         return app::ChmFile::open(path) ? QStringLiteral("opened") : QStringLiteral("no help");
     },
     "no help"},
    {"help_file_truncated",
     [](const QDir &d) {
         QFile real(QDir(qEnvironmentVariable("TREVIX_TEST_APP_DIR")).filePath("Trevix2002.chm"));
         real.open(QIODevice::ReadOnly);
         return write(d, "help.chm", real.readAll().left(3000));
     },
     [](const QString &path) {
         return app::ChmFile::open(path) ? QStringLiteral("opened") : QStringLiteral("no help");
     },
     "no help"},
    // --- word lists and custom words: read as far as they make sense ---
    {"fcr_binary_wrong_encoding",
     [](const QDir &d) { return write(d, "a.fcr", QByteArray::fromHex("fffe00d8ff00")); },
     [](const QString &path) {
         QFile f(path);
         f.open(QIODevice::ReadOnly);
         return QStringLiteral("%1 items").arg(words::listItems(f.readAll()).size());
     },
     "1 items"},
    {"custom_words_truncated_line",
     [](const QDir &d) { return write(d, "custom.dic", "学习\t12\n分词\t"); },
     [](const QString &path) {
         return QStringLiteral("%1 words").arg(coding::readCustomWordFile(path).size());
     },
     "1 words"},
    // --- saves to a target that cannot take them: the earlier file stays whole ---
    {"example_save_into_a_read_only_folder",
     [](const QDir &) { return QStringLiteral("/proc/a.sav"); },
     [](const QString &path) {
         prepare::ExampleError error;
         coding::RtfText t;
         t.text = kTwenty;
         t.runs = {{0, t.text.size(), {}}};
         return prepare::writeExample(path, t, QString(t.text.size(), u'0'), &error)
                    ? QStringLiteral("saved")
                    : prepare::exampleErrorMessage(error);
     },
     "分词例文保存失败"},
    {"example_save_on_a_full_disk",
     [](const QDir &d) {
         write(d, "a.ext", "\"0000\"\r\n");
         return write(d, "a.sav", rtfOf(QStringLiteral("我们学习")));
     },
     [](const QString &path) {
         return underFileSizeLimit(200, [&path] {
             prepare::ExampleError error;
             coding::RtfText t;
             t.text = kTwenty.repeated(20);
             t.runs = {{0, t.text.size(), {}}};
             return prepare::writeExample(path, t, QString(t.text.size(), u'0'), &error)
                        ? QStringLiteral("saved")
                        : prepare::exampleErrorMessage(error);
         });
     },
     "硬盘空间已满"},
    {"history_export_on_a_full_disk",
     [](const QDir &d) { return write(d, "history.csv", "earlier export\r\n"); },
     [](const QString &path) {
         return underFileSizeLimit(100, [&path] {
             QString error;
             const QList<history::TestEntry> entries(50, anEntry());
             return history::exportCsv(path, entries, &error) ? QStringLiteral("saved") : error;
         });
     },
     "无法写入文件"},
    {"settings_save_on_a_full_disk",
     [](const QDir &d) { return write(d, "Trevix2006.conf", "[x]\ny=1\n"); },
     [](const QString &path) {
         return underFileSizeLimit(20, [&path] {
             coding::Settings settings(path);
             coding::SettingValues values;
             settings.loadInto(values);
             return settings.saveAll(values) ? QStringLiteral("saved")
                                             : QStringLiteral("not saved");
         });
     },
     "not saved"},
};

TEST(BadInputs, EachGetsAClearMessageAndNoEarlierFileIsChangedOrLost) {
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.name);
        QTemporaryDir dir;
        const QString path = row.make(QDir(dir.path()));
        const auto before = snapshot(QDir(dir.path()));
        const QString message = row.act(path);
        EXPECT_TRUE(message.contains(QString::fromUtf8(row.message))) << message.toStdString();
        EXPECT_NE(message, QStringLiteral("saved"));
        const auto after = snapshot(QDir(dir.path()));
        for (const auto &[file, hash] : before) {
            const auto found = after.find(file);
            if (found != after.end() && found->second == hash)
                continue;
            // A damaged history is set aside under a new name, not lost (a new one
            // takes its name).
            bool setAside = false;
            for (const auto &[other, otherHash] : after)
                setAside = setAside || (other.startsWith(file + ".damaged-") && otherHash == hash);
            EXPECT_TRUE(setAside) << file.toStdString() << " was changed or lost";
        }
    }
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
