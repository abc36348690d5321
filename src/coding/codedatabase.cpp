#include "codedatabase.h"

#include <QFileInfo>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace coding {

namespace {

// Statement indexes: 0 jtzi, 1..10 jtci0..jtci9, 11 jmzici.
constexpr int kCharStatement = 0;
constexpr int kFirstWordStatement = 1;
constexpr int kShortCodeStatement = 11;
constexpr int kStatementCount = 12;

QString statementText(int i) {
    if (i == kShortCodeStatement)
        return QStringLiteral("SELECT srm FROM jmzici WHERE hz = ? LIMIT 1");
    const QString table = i == kCharStatement
                              ? QStringLiteral("jtzi")
                              : QStringLiteral("jtci%1").arg(i - kFirstWordStatement);
    return QStringLiteral("SELECT srm, jm1, jm2 FROM %1 WHERE hz = ? LIMIT 1").arg(table);
}

// A short-code column holding a blank (or nothing) means there is no such code.
QString codeField(const QVariant &v) {
    return v.toString().trimmed();
}

} // namespace

struct CodeDatabase::Statements {
    QSqlDatabase db;
    std::vector<QSqlQuery> queries;
    // Characters already looked up: the file is only read, so an answer stays
    // good while the connection is open (words share their first characters).
    QHash<QString, std::pair<Result, CodePair>> characters;
};

CodeDatabase::CodeDatabase() : m_connection(QStringLiteral("jtdb-%1").arg(quintptr(this), 0, 16)) {}

CodeDatabase::~CodeDatabase() {
    close();
}

bool CodeDatabase::isOpen() const {
    return m_statements != nullptr;
}

void CodeDatabase::close() {
    if (!m_statements)
        return;
    m_statements->queries.clear();
    m_statements->db.close();
    m_statements.reset();
    QSqlDatabase::removeDatabase(m_connection);
}

void CodeDatabase::fail(const QString &detail) {
    close();
    m_error = {CodeDatabaseError::Kind::Damaged, m_path, detail.trimmed()};
}

bool CodeDatabase::open(const QString &path) {
    if (isOpen() && path == m_path)
        return true;
    close();
    m_path = path;
    m_error = {};

    if (!QFileInfo(path).isFile()) {
        m_error = {CodeDatabaseError::Kind::Missing, path, {}};
        return false;
    }

    auto st = std::make_unique<Statements>();
    st->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    st->db.setDatabaseName(path);
    st->db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    m_statements = std::move(st);
    if (!m_statements->db.open()) {
        fail(m_statements->db.lastError().text());
        return false;
    }
    // Keep the shared lock and the page cache between queries instead of locking
    // and re-checking the file for each one (several times faster; the file is
    // only read).
    QSqlQuery(QStringLiteral("PRAGMA locking_mode=EXCLUSIVE"), m_statements->db);
    // SQLite opens any file; a damaged one shows when the statements are prepared
    // against its schema.
    m_statements->queries.reserve(kStatementCount);
    for (int i = 0; i < kStatementCount; ++i) {
        QSqlQuery q(m_statements->db);
        q.setForwardOnly(true);
        if (!q.prepare(statementText(i))) {
            fail(q.lastError().text());
            return false;
        }
        m_statements->queries.push_back(std::move(q));
    }
    m_reported = {};
    return true;
}

std::optional<CodeDatabaseError> CodeDatabase::takeUnreportedError() {
    if (!m_error.isError() || m_error == m_reported)
        return std::nullopt;
    m_reported = m_error;
    return m_error;
}

CodeDatabase::Result CodeDatabase::run(int statement, const QString &key, CodePair &codes,
                                       bool withShortCodes) {
    codes = {};
    if (!m_statements) {
        if (!m_error.isError())
            m_error = {CodeDatabaseError::Kind::NotOpen, m_path, {}};
        return Result::Failed;
    }
    QSqlQuery &q = m_statements->queries[size_t(statement)];
    q.bindValue(0, key);
    ++m_queryCount;
    if (!q.exec()) {
        fail(q.lastError().text());
        return Result::Failed;
    }
    Result result = Result::NotFound;
    if (q.next()) {
        result = Result::Found;
        codes.stdCode = codeField(q.value(0));
        if (withShortCodes) {
            codes.shortCode = codeField(q.value(1));
            if (codes.shortCode.isEmpty())
                codes.shortCode = codeField(q.value(2));
        }
    } else if (q.lastError().isValid()) {
        fail(q.lastError().text());
        return Result::Failed;
    }
    q.finish();
    return result;
}

CodeDatabase::Result CodeDatabase::findChar(const QString &character, CodePair &codes) {
    if (m_statements) {
        if (const auto it = m_statements->characters.constFind(character);
            it != m_statements->characters.constEnd()) {
            codes = it->second;
            return it->first;
        }
    }
    const Result r = run(kCharStatement, character, codes, true);
    if (r != Result::Failed)
        m_statements->characters.insert(character, {r, codes});
    return r;
}

CodeDatabase::Result CodeDatabase::findWord(int digit, const QString &word, CodePair &codes) {
    if (digit < 0 || digit > 9) {
        codes = {};
        return Result::NotFound;
    }
    return run(kFirstWordStatement + digit, word, codes, true);
}

CodeDatabase::Result CodeDatabase::findShortCode(const QString &item, QString &shortCode) {
    CodePair codes;
    const Result r = run(kShortCodeStatement, item, codes, false);
    shortCode = codes.stdCode;
    return r;
}

} // namespace coding
