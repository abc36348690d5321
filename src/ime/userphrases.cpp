#include "userphrases.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSaveFile>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>

namespace ime {

namespace {

// The table's name in both frameworks: ibus-table's engine "table:qorvan" and the
// Fcitx 5 input method "qorvan".
const QString kTable = QStringLiteral("qorvan");
// The version of the user database that ibus-table 1.x writes and expects.
const QString kIbusDatabaseVersion = QStringLiteral("1.00");
constexpr int kToolTimeoutMs = 20000;

bool fail(QString *error, const QString &text) {
    if (error)
        *error = text;
    return false;
}

// Runs tool with args; false with *error when it cannot run or fails.
bool runTool(const QString &tool, const QStringList &args, QString *error) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(tool, args);
    if (!process.waitForStarted(kToolTimeoutMs))
        return fail(error,
                    QStringLiteral("无法运行 %1（Debian 的 libime-bin 软件包提供它）。").arg(tool));
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        return fail(error,
                    QStringLiteral("%1 没有在 %2 秒内结束。").arg(tool).arg(kToolTimeoutMs / 1000));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(process.readAll()).trimmed();
        return fail(error, QStringLiteral("%1 失败：%2")
                               .arg(tool, said.isEmpty()
                                              ? QStringLiteral("退出码 %1").arg(process.exitCode())
                                              : said));
    }
    return true;
}

// Drops from ibus-table's cache the looked-up codes under which one of codes is
// now found: every beginning of it, as the engine also lists longer codes.
void dropCachedCodes(const QString &cachePath, const QSet<QString> &codes) {
    QFile file(cachePath);
    if (codes.isEmpty() || !file.open(QIODevice::ReadOnly))
        return;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    file.close();
    if (!document.isObject()) {
        // Not a cache the engine could use: it makes a new one.
        QFile::remove(cachePath);
        return;
    }
    QJsonObject cache = document.object();
    bool changed = false;
    for (const QString &code : codes) {
        for (qsizetype n = 1; n <= code.size(); ++n)
            changed |= cache.take(code.left(n)) != QJsonValue::Undefined;
    }
    if (!changed)
        return;
    QSaveFile out(cachePath);
    const QByteArray json = QJsonDocument(cache).toJson(QJsonDocument::Compact);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(json) != json.size() ||
        !out.commit())
        QFile::remove(cachePath); // a stale cache would hide the words
}

// One SQLite connection of its own, closed and removed when it goes.
class Connection {
public:
    explicit Connection(const QString &path) {
        static std::atomic<int> counter{0};
        m_name = QStringLiteral("trevix-ibus-user-phrases-%1").arg(++counter);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        // The engine may be writing at the same moment.
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    }
    ~Connection() {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
};

} // namespace

UserPhraseFiles UserPhraseFiles::under(const QString &dataHome) {
    const QDir home(dataHome);
    return {home.filePath(QStringLiteral("ibus-table/tables/%1-user.db").arg(kTable)),
            home.filePath(QStringLiteral("ibus-table/tables/%1.cache").arg(kTable)),
            home.filePath(QStringLiteral("fcitx5/table/%1.user.dict").arg(kTable))};
}

UserPhraseFiles UserPhraseFiles::forUser() {
    const QString dataHome = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    UserPhraseFiles files = under(dataHome);
    // ibus-table reads its own folder from IBUS_TABLE_DATA_HOME first, when it exists.
    const QString ibusHome = qEnvironmentVariable("IBUS_TABLE_DATA_HOME");
    if (!ibusHome.isEmpty() && QFileInfo(ibusHome).isDir()) {
        const UserPhraseFiles ibus = under(QFileInfo(ibusHome).absoluteFilePath());
        files.ibusDatabase = ibus.ibusDatabase;
        files.ibusCache = ibus.ibusCache;
    }
    return files;
}

int addIbusUserPhrases(const UserPhraseFiles &files, const QList<coding::CustomWord> &words,
                       QString *error) {
    if (words.isEmpty())
        return 0;
    const QString where = QStringLiteral("IBus 的用户词库 %1").arg(files.ibusDatabase);
    if (!QDir().mkpath(QFileInfo(files.ibusDatabase).absolutePath())) {
        fail(error, where + QStringLiteral(" 所在的文件夹无法建立。"));
        return -1;
    }
    Connection connection(files.ibusDatabase);
    QSqlDatabase db = connection.db();
    if (!db.open()) {
        fail(error, where + QStringLiteral(" 无法打开：") + db.lastError().text());
        return -1;
    }
    QSqlQuery query(db);
    // As ibus-table makes it: WAL, a description with its version, the phrases.
    if (!query.exec(QStringLiteral("PRAGMA journal_mode = WAL")) ||
        !query.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS desc (name PRIMARY KEY, value)")) ||
        !query.exec(
            QStringLiteral("CREATE TABLE IF NOT EXISTS phrases (id INTEGER PRIMARY KEY, "
                           "tabkeys TEXT, phrase TEXT, freq INTEGER, user_freq INTEGER)"))) {
        fail(error, where + QStringLiteral(" 无法使用：") + query.lastError().text());
        return -1;
    }
    QStringList columns;
    if (query.exec(QStringLiteral("PRAGMA table_info(phrases)"))) {
        while (query.next())
            columns << query.value(1).toString();
    }
    if (columns != QStringList{QStringLiteral("id"), QStringLiteral("tabkeys"),
                               QStringLiteral("phrase"), QStringLiteral("freq"),
                               QStringLiteral("user_freq")}) {
        fail(error, where + QStringLiteral(" 不是 ibus-table 能读的用户词库。"));
        return -1;
    }
    if (!db.transaction()) {
        fail(error, where + QStringLiteral(" 无法写入：") + db.lastError().text());
        return -1;
    }
    bool ok = query.prepare(QStringLiteral("INSERT OR IGNORE INTO desc VALUES (?, ?)"));
    if (ok) {
        query.addBindValue(QStringLiteral("version"));
        query.addBindValue(kIbusDatabaseVersion);
        ok = query.exec();
    }
    if (ok) {
        ok = query.exec(QStringLiteral("INSERT OR IGNORE INTO desc "
                                       "VALUES ('create-time', DATETIME('now', 'localtime'))"));
    }
    int added = 0;
    QSet<QString> addedCodes;
    QSqlQuery find(db);
    ok = ok &&
         find.prepare(QStringLiteral("SELECT 1 FROM phrases WHERE tabkeys = ? AND phrase = ?"));
    // Frequencies 0: after the table's own items of the same code, and never
    // taken for a phrase the user defined (ibus-table gives those freq -1).
    ok = ok && query.prepare(QStringLiteral(
                   "INSERT INTO phrases (tabkeys, phrase, freq, user_freq) VALUES (?, ?, 0, 0)"));
    for (qsizetype i = 0; ok && i < words.size(); ++i) {
        const coding::CustomWord &word = words.at(i);
        find.addBindValue(word.code);
        find.addBindValue(word.word);
        ok = find.exec();
        const bool present = ok && find.next();
        find.finish();
        if (!ok || present)
            continue;
        query.addBindValue(word.code);
        query.addBindValue(word.word);
        ok = query.exec();
        if (ok) {
            ++added;
            addedCodes.insert(word.code);
        }
    }
    if (!ok) {
        const QString why = (query.lastError().isValid() ? query : find).lastError().text();
        db.rollback();
        fail(error, where + QStringLiteral(" 无法写入：") + why);
        return -1;
    }
    if (!db.commit()) {
        const QString why = db.lastError().text();
        db.rollback();
        fail(error, where + QStringLiteral(" 无法写入：") + why);
        return -1;
    }
    dropCachedCodes(files.ibusCache, addedCodes);
    return added;
}

int addFcitxUserPhrases(const UserPhraseFiles &files, const QList<coding::CustomWord> &words,
                        QString *error, const QString &tool) {
    if (words.isEmpty())
        return 0;
    const QString &path = files.fcitxDictionary;
    const QString where = QStringLiteral("Fcitx 5 的用户词典 %1").arg(path);
    QTemporaryDir temp;
    if (!temp.isValid()) {
        fail(error, where + QStringLiteral("：无法建立临时文件夹。"));
        return -1;
    }
    // The user table as text: "<code> <word>" phrase lines, then the sections of
    // phrases the engine made itself ([Auto]) and took back ([Delete]).
    QStringList phrases;
    QStringList sections;
    if (QFile::exists(path)) {
        const QString dump = temp.filePath(QStringLiteral("old.txt"));
        if (!runTool(tool, {QStringLiteral("-d"), QStringLiteral("-u"), path, dump}, error))
            return -1;
        QFile in(dump);
        if (!in.open(QIODevice::ReadOnly)) {
            fail(error, where + QStringLiteral(" 无法读出。"));
            return -1;
        }
        bool inSections = false;
        for (const QByteArray &raw : in.readAll().split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            if (line.isEmpty())
                continue;
            inSections |= line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
            (inSections ? sections : phrases) << line;
        }
    }
    QSet<QString> present(phrases.cbegin(), phrases.cend());
    int added = 0;
    for (const coding::CustomWord &word : words) {
        const QString line = word.code + QLatin1Char(' ') + word.word;
        if (present.contains(line))
            continue;
        present.insert(line);
        phrases << line;
        ++added;
    }
    if (added == 0)
        return 0;
    const QString source = temp.filePath(QStringLiteral("new.txt"));
    QFile out(source);
    const QByteArray text = (phrases + sections).join(QLatin1Char('\n')).toUtf8() + '\n';
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || out.write(text) != text.size() ||
        !out.flush()) {
        fail(error, where + QStringLiteral("：无法写临时文件。"));
        return -1;
    }
    out.close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        fail(error, where + QStringLiteral(" 所在的文件夹无法建立。"));
        return -1;
    }
    // Written whole beside the old one, then moved over it.
    const QString fresh = path + QStringLiteral(".new");
    if (!runTool(tool, {QStringLiteral("-u"), source, fresh}, error)) {
        QFile::remove(fresh);
        return -1;
    }
    if (std::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(fresh);
        fail(error, where + QStringLiteral(" 无法替换。"));
        return -1;
    }
    return added;
}

} // namespace ime
