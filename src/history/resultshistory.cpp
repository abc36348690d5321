#include "resultshistory.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QVariant>

#include <atomic>
#include <functional>

namespace history {

namespace {

bool fail(QString *error, const QString &text) {
    if (error)
        *error = text;
    return false;
}

// SQLite's codes for a file that is no database, or a damaged one.
bool isDamage(const QSqlError &error) {
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("26") || code == QLatin1String("11");
}

QString describe(const QSqlError &error) {
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed();
}

// The steps from each version to the next, in order: step i makes version i + 1.
const char *const kSteps[] = {
    // 1: the tests.
    "CREATE TABLE tests ("
    " id INTEGER PRIMARY KEY,"
    " ended_ms INTEGER NOT NULL," // ms since 1970, UTC
    " text_hash TEXT NOT NULL,"
    " text_head TEXT NOT NULL,"
    " duration_ms INTEGER NOT NULL,"
    " total INTEGER NOT NULL,"
    " right_count INTEGER NOT NULL,"
    " wrong_count INTEGER NOT NULL,"
    " accuracy REAL NOT NULL,"
    " speed REAL NOT NULL,"
    " eff_speed REAL NOT NULL,"
    " key_presses INTEGER NOT NULL,"
    " keys_per_char REAL NOT NULL,"
    " bursts1 INTEGER NOT NULL, bursts2 INTEGER NOT NULL, bursts3 INTEGER NOT NULL,"
    " bursts4 INTEGER NOT NULL, bursts5 INTEGER NOT NULL);"
    "CREATE INDEX tests_by_time ON tests (ended_ms)",
    // 2: the texts and the mistakes, for the review.
    "CREATE TABLE texts (hash TEXT PRIMARY KEY, text TEXT NOT NULL, tags TEXT NOT NULL);"
    "CREATE TABLE mistakes ("
    " test_id INTEGER NOT NULL REFERENCES tests (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, expected TEXT NOT NULL, typed TEXT NOT NULL);"
    "CREATE INDEX mistakes_by_test ON mistakes (test_id);"
    "CREATE INDEX tests_by_text ON tests (text_hash)",
    // 3: 理论码长.
    "ALTER TABLE tests ADD COLUMN best_keys_per_char REAL NOT NULL DEFAULT 0",
    // 4: the inputs.
    "CREATE TABLE inputs ("
    " test_id INTEGER NOT NULL REFERENCES tests (id) ON DELETE CASCADE,"
    " position INTEGER NOT NULL, length INTEGER NOT NULL, keys INTEGER NOT NULL);"
    "CREATE INDEX inputs_by_test ON inputs (test_id)",
};
static_assert(std::size(kSteps) == kSchemaVersion);

const char *const kEntryColumns =
    "id, ended_ms, text_hash, text_head, duration_ms, total, right_count, wrong_count, accuracy, "
    "speed, eff_speed, key_presses, keys_per_char, bursts1, bursts2, bursts3, bursts4, bursts5, "
    "best_keys_per_char";

TestEntry entryFrom(const QSqlQuery &q) {
    TestEntry e;
    e.id = q.value(0).toLongLong();
    e.endedAt = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
    e.textHash = q.value(2).toString();
    e.textHead = q.value(3).toString();
    e.durationMs = q.value(4).toLongLong();
    e.total = q.value(5).toInt();
    e.rightCount = q.value(6).toInt();
    e.wrongCount = q.value(7).toInt();
    e.accuracy = q.value(8).toDouble();
    e.speed = q.value(9).toDouble();
    e.effSpeed = q.value(10).toDouble();
    e.keyPresses = q.value(11).toInt();
    e.keysPerChar = q.value(12).toDouble();
    for (int i = 0; i < 5; ++i)
        e.bursts[size_t(i)] = q.value(13 + i).toInt();
    e.bestKeysPerChar = q.value(18).toDouble();
    return e;
}

QString csvField(const QString &value) {
    if (!value.contains(QLatin1Char(',')) && !value.contains(QLatin1Char('"')) &&
        !value.contains(QLatin1Char('\n')) && !value.contains(QLatin1Char('\r')))
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString textHash(const QString &text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1).toHex());
}

QString textHead(const QString &text) {
    QString head = text.left(20);
    if (head.size() == 20 && head.at(19).isHighSurrogate())
        head.chop(1);
    for (QChar &c : head) {
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
            c == QChar::LineSeparator || c == QLatin1Char('\t'))
            c = QLatin1Char(' ');
    }
    return head;
}

QString ResultsHistory::defaultPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(QStringLiteral("Trevix2006/history.sqlite"));
}

ResultsHistory::ResultsHistory(QString path) : m_path(std::move(path)) {
    static std::atomic<int> counter{0};
    m_connection = QStringLiteral("trevix-history-%1").arg(++counter);
}

ResultsHistory::~ResultsHistory() {
    if (QSqlDatabase::contains(m_connection)) {
        QSqlDatabase::database(m_connection, false).close();
        QSqlDatabase::removeDatabase(m_connection);
    }
}

QString ResultsHistory::takeNotice() {
    return std::exchange(m_notice, QString());
}

bool ResultsHistory::open(QString *error) {
    if (m_open)
        return true;
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return fail(
            error,
            QStringLiteral("无法建立成绩记录的文件夹 %1。").arg(QFileInfo(m_path).absolutePath()));
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!QSqlDatabase::contains(m_connection))
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection)
                .setDatabaseName(m_path);
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
        if (!db.open())
            return fail(
                error,
                QStringLiteral("无法打开成绩记录 %1：%2").arg(m_path, describe(db.lastError())));
        QSqlQuery q(db);
        bool readable = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
        if (readable) {
            m_version = q.value(0).toInt();
            readable = q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) && q.next();
        }
        if (readable) {
            // A database of tables that are not ours is not ours either.
            const bool foreign = m_version == 0 && q.value(0).toInt() > 0;
            if (!foreign)
                break;
        } else if (!isDamage(q.lastError())) {
            const QString why = describe(q.lastError());
            db.close();
            return fail(error, QStringLiteral("无法读取成绩记录 %1：%2").arg(m_path, why));
        }
        // Damaged or foreign: set aside, never deleted, and start anew.
        q.finish();
        db.close();
        const QString aside =
            m_path + QStringLiteral(".damaged-") +
            QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (attempt > 0 || !QFile::rename(m_path, aside))
            return fail(error, QStringLiteral("成绩记录 %1 已损坏，且无法改名保存。").arg(m_path));
        for (const char *suffix : {"-journal", "-wal", "-shm"})
            QFile::rename(m_path + QLatin1String(suffix), aside + QLatin1String(suffix));
        m_notice =
            QStringLiteral("成绩记录文件已损坏，已改名保存为\r\n%1\r\n新的成绩记录从现在开始。")
                .arg(aside);
    }
    if (m_version > kSchemaVersion) {
        QSqlDatabase::database(m_connection, false).close();
        return fail(
            error,
            QStringLiteral("成绩记录 %1 是较新版本的程序建立的，本程序不能使用它。").arg(m_path));
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    if (!migrate(error)) {
        QSqlDatabase::database(m_connection, false).close();
        return false;
    }
    m_open = true;
    return true;
}

bool ResultsHistory::migrate(QString *error) {
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    while (m_version < kSchemaVersion) {
        if (!db.transaction())
            return fail(
                error,
                QStringLiteral("无法写入成绩记录 %1：%2").arg(m_path, describe(db.lastError())));
        QSqlQuery q(db);
        bool ok = true;
        const QStringList statements =
            QString::fromLatin1(kSteps[m_version]).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &statement : statements) {
            ok = q.exec(statement);
            if (!ok)
                break;
        }
        ok = ok && q.exec(QStringLiteral("PRAGMA user_version = %1").arg(m_version + 1));
        if (!ok || !db.commit()) {
            const QString why = describe(ok ? db.lastError() : q.lastError());
            db.rollback();
            return fail(error, QStringLiteral("无法更新成绩记录 %1：%2").arg(m_path, why));
        }
        ++m_version;
    }
    return true;
}

bool ResultsHistory::write(QString *error, const std::function<bool(QSqlQuery &)> &body) {
    if (!open(error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction())
        return fail(
            error, QStringLiteral("无法写入成绩记录 %1：%2").arg(m_path, describe(db.lastError())));
    QSqlQuery q(db);
    const bool ok = body(q);
    if (!ok || !db.commit()) {
        const QString why = describe(ok ? db.lastError() : q.lastError());
        db.rollback();
        return fail(error, QStringLiteral("无法写入成绩记录 %1：%2").arg(m_path, why));
    }
    return true;
}

bool ResultsHistory::record(TestDetail &detail, QString *error) {
    qint64 id = 0;
    const bool written = write(error, [&](QSqlQuery &q) {
        const TestEntry &e = detail.entry;
        bool ok = true;
        if (!detail.text.isEmpty()) {
            ok = q.prepare(
                QStringLiteral("INSERT OR IGNORE INTO texts (hash, text, tags) VALUES (?, ?, ?)"));
            q.addBindValue(e.textHash);
            q.addBindValue(detail.text);
            q.addBindValue(detail.tags);
            ok = ok && q.exec();
        }
        ok = ok &&
             q.prepare(QStringLiteral("INSERT INTO tests (%1) VALUES (NULL%2)")
                           .arg(QLatin1String(kEntryColumns), QStringLiteral(", ?").repeated(18)));
        if (ok) {
            q.addBindValue(e.endedAt.toMSecsSinceEpoch());
            q.addBindValue(e.textHash);
            q.addBindValue(e.textHead);
            q.addBindValue(e.durationMs);
            q.addBindValue(e.total);
            q.addBindValue(e.rightCount);
            q.addBindValue(e.wrongCount);
            q.addBindValue(e.accuracy);
            q.addBindValue(e.speed);
            q.addBindValue(e.effSpeed);
            q.addBindValue(e.keyPresses);
            q.addBindValue(e.keysPerChar);
            for (int count : e.bursts)
                q.addBindValue(count);
            q.addBindValue(e.bestKeysPerChar);
            ok = q.exec();
        }
        id = ok ? q.lastInsertId().toLongLong() : 0;
        // Rows left under this id by a test removed outside the program (SQLite gives
        // a removed test's id again) would become this test's.
        for (const char *table : {"mistakes", "inputs"}) {
            ok = ok &&
                 q.prepare(
                     QStringLiteral("DELETE FROM %1 WHERE test_id = ?").arg(QLatin1String(table)));
            if (ok) {
                q.addBindValue(id);
                ok = q.exec();
            }
        }
        if (ok && !detail.mistakes.isEmpty()) {
            ok = q.prepare(QStringLiteral(
                "INSERT INTO mistakes (test_id, position, expected, typed) VALUES (?, ?, ?, ?)"));
            for (qsizetype i = 0; ok && i < detail.mistakes.size(); ++i) {
                const Mistake &m = detail.mistakes.at(i);
                q.addBindValue(id);
                q.addBindValue(m.position);
                q.addBindValue(m.expected);
                q.addBindValue(m.typed);
                ok = q.exec();
            }
        }
        if (ok && !detail.inputs.isEmpty()) {
            ok = q.prepare(QStringLiteral(
                "INSERT INTO inputs (test_id, position, length, keys) VALUES (?, ?, ?, ?)"));
            for (qsizetype i = 0; ok && i < detail.inputs.size(); ++i) {
                const coding::TypedInput &in = detail.inputs.at(i);
                q.addBindValue(id);
                q.addBindValue(in.position);
                q.addBindValue(in.length);
                q.addBindValue(in.keys);
                ok = q.exec();
            }
        }
        return ok;
    });
    if (written)
        detail.entry.id = id;
    return written;
}

std::optional<QList<TestEntry>> ResultsHistory::entries(QString *error, bool full) {
    if (!open(error))
        return std::nullopt;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    const QString columns =
        full ? QLatin1String(kEntryColumns)
             : QStringLiteral("id, ended_ms, text_hash, text_head, duration_ms, total, accuracy, "
                              "speed, eff_speed, keys_per_char, best_keys_per_char");
    if (!q.exec(
            QStringLiteral("SELECT %1 FROM tests ORDER BY ended_ms DESC, id DESC").arg(columns))) {
        fail(error, QStringLiteral("无法读取成绩记录 %1：%2").arg(m_path, describe(q.lastError())));
        return std::nullopt;
    }
    QList<TestEntry> list;
    // Tests of one text share its hash and head.
    QHash<QString, QString> heads;
    while (q.next()) {
        if (full) {
            list.append(entryFrom(q));
            continue;
        }
        TestEntry e;
        e.id = q.value(0).toLongLong();
        e.endedAt = QDateTime::fromMSecsSinceEpoch(q.value(1).toLongLong(), Qt::UTC);
        e.textHash = q.value(2).toString();
        auto head = heads.find(e.textHash);
        if (head == heads.end())
            head = heads.insert(e.textHash, q.value(3).toString());
        e.textHash = head.key();
        e.textHead = head.value();
        e.durationMs = q.value(4).toLongLong();
        e.total = q.value(5).toInt();
        e.accuracy = q.value(6).toDouble();
        e.speed = q.value(7).toDouble();
        e.effSpeed = q.value(8).toDouble();
        e.keysPerChar = q.value(9).toDouble();
        e.bestKeysPerChar = q.value(10).toDouble();
        list.append(std::move(e));
    }
    return list;
}

std::optional<TestDetail> ResultsHistory::detail(qint64 id, QString *error) {
    if (!open(error))
        return std::nullopt;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("SELECT %1 FROM tests WHERE id = ?").arg(QLatin1String(kEntryColumns)));
    q.addBindValue(id);
    if (!q.exec()) {
        fail(error, QStringLiteral("无法读取成绩记录 %1：%2").arg(m_path, describe(q.lastError())));
        return std::nullopt;
    }
    if (!q.next()) {
        fail(error, QStringLiteral("成绩记录中没有这次测试。"));
        return std::nullopt;
    }
    TestDetail detail;
    detail.entry = entryFrom(q);
    q.prepare(QStringLiteral("SELECT text, tags FROM texts WHERE hash = ?"));
    q.addBindValue(detail.entry.textHash);
    if (q.exec() && q.next()) {
        detail.text = q.value(0).toString();
        detail.tags = q.value(1).toString();
    }
    q.prepare(QStringLiteral(
        "SELECT position, expected, typed FROM mistakes WHERE test_id = ? ORDER BY position"));
    q.addBindValue(id);
    if (q.exec()) {
        while (q.next())
            detail.mistakes.append(
                {q.value(0).toInt(), q.value(1).toString(), q.value(2).toString()});
    }
    q.prepare(QStringLiteral(
        "SELECT position, length, keys FROM inputs WHERE test_id = ? ORDER BY rowid"));
    q.addBindValue(id);
    if (q.exec()) {
        while (q.next())
            detail.inputs.append({q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt()});
    }
    return detail;
}

bool ResultsHistory::remove(qint64 id, QString *error) {
    return write(error, [id](QSqlQuery &q) {
        bool ok = q.prepare(QStringLiteral("DELETE FROM mistakes WHERE test_id = ?"));
        q.addBindValue(id);
        ok = ok && q.exec();
        ok = ok && q.prepare(QStringLiteral("DELETE FROM inputs WHERE test_id = ?"));
        q.addBindValue(id);
        ok = ok && q.exec();
        ok = ok && q.prepare(QStringLiteral("DELETE FROM tests WHERE id = ?"));
        q.addBindValue(id);
        ok = ok && q.exec();
        ok = ok && q.exec(QStringLiteral(
                       "DELETE FROM texts WHERE hash NOT IN (SELECT text_hash FROM tests)"));
        return ok;
    });
}

bool ResultsHistory::recordAndTell(TestDetail &detail, coding::MessageService &messages) {
    const QString title = QStringLiteral("成绩记录");
    QString error;
    const bool recorded = record(detail, &error);
    if (const QString notice = takeNotice(); !notice.isEmpty())
        messages.show(notice, title, coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
    if (!recorded && !m_failureTold) {
        m_failureTold = true;
        messages.show(QStringLiteral("这次测试的成绩未能记入成绩记录：\r\n%1").arg(error), title,
                      coding::MsgButtons::Ok, coding::MsgIcon::Exclamation);
    }
    return recorded;
}

bool exportCsv(const QString &path, const QList<TestEntry> &entries, QString *error) {
    QStringList lines;
    lines << QStringLiteral("时间,文本,时长(秒),总字数,正确字数,错误字数,正确率(%),速度(字/分),"
                            "有效速度(字/分),击键数,码长,一字,二字,三字,四字,五字以上,理论码长");
    for (const TestEntry &e : entries) {
        QStringList fields{e.endedAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                           csvField(e.textHead),
                           QString::number(e.durationMs / 1000),
                           QString::number(e.total),
                           QString::number(e.rightCount),
                           QString::number(e.wrongCount),
                           QString::number(e.accuracy, 'f', 2),
                           QString::number(e.speed, 'f', 0),
                           QString::number(e.effSpeed, 'f', 0),
                           QString::number(e.keyPresses),
                           QString::number(e.keysPerChar, 'f', 2)};
        for (int count : e.bursts)
            fields << QString::number(count);
        fields << QString::number(e.bestKeysPerChar, 'f', 2);
        lines << fields.join(QLatin1Char(','));
    }
    QSaveFile file(path);
    const QByteArray bytes = "\xEF\xBB\xBF" + lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n";
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit())
        return fail(error, QStringLiteral("无法写入文件 %1：%2").arg(path, file.errorString()));
    return true;
}

} // namespace history
