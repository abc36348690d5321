#include "candidates.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace coding {

CandidateKeys candidateKeys(int position) {
    if (position < 1)
        return {};
    return {(position - 1) / kCandidatesPerPage, (position - 1) % kCandidatesPerPage + 1};
}

struct CandidateTable::Connection {
    QSqlDatabase db;
    QSqlQuery query;
};

CandidateTable::CandidateTable()
    : m_connection(QStringLiteral("candidates-%1").arg(quintptr(this), 0, 16)) {}

CandidateTable::~CandidateTable() {
    close();
}

bool CandidateTable::isOpen() const {
    return m_db != nullptr;
}

void CandidateTable::close() {
    if (!m_db)
        return;
    m_db->query = QSqlQuery();
    m_db->db.close();
    m_db.reset();
    QSqlDatabase::removeDatabase(m_connection);
}

void CandidateTable::fail(const QString &detail) {
    close();
    m_error = QStringLiteral("编码数据库文件%1已损坏或无法读取，无法查询候选位置！")
                  .arg(QDir::toNativeSeparators(m_path));
    if (!detail.trimmed().isEmpty())
        m_error += QLatin1Char('\n') + detail.trimmed();
}

bool CandidateTable::open(const QString &path) {
    if (isOpen() && path == m_path)
        return true;
    close();
    m_path = path;
    m_error.clear();
    if (!QFileInfo(path).isFile()) {
        m_error = QStringLiteral("编码数据库文件%1不存在，无法查询候选位置！")
                      .arg(QDir::toNativeSeparators(path));
        return false;
    }
    m_db = std::make_unique<Connection>();
    m_db->db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    m_db->db.setDatabaseName(path);
    m_db->db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_db->db.open()) {
        fail(m_db->db.lastError().text());
        return false;
    }
    // Preparing against the schema shows a damaged file or one without the table.
    m_db->query = QSqlQuery(m_db->db);
    m_db->query.setForwardOnly(true);
    if (!m_db->query.prepare(
            QStringLiteral("SELECT code, position FROM candidates WHERE hz = ? LIMIT 1"))) {
        fail(m_db->query.lastError().text());
        return false;
    }
    return true;
}

CandidateTable::Result CandidateTable::find(const QString &item, CandidatePlace &place) {
    place = {};
    if (!m_db) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("编码数据库文件%1未打开，无法查询候选位置！")
                          .arg(QDir::toNativeSeparators(m_path));
        return Result::Failed;
    }
    QSqlQuery &q = m_db->query;
    q.bindValue(0, item);
    if (!q.exec()) {
        fail(q.lastError().text());
        return Result::Failed;
    }
    Result result = Result::NotFound;
    if (q.next()) {
        bool number = false;
        const int position = q.value(1).toInt(&number);
        const QString code = q.value(0).toString().trimmed();
        if (number && position >= 1 && !code.isEmpty()) {
            place = {code, position};
            result = Result::Found;
        }
    } else if (q.lastError().isValid()) {
        fail(q.lastError().text());
        return Result::Failed;
    }
    q.finish();
    return result;
}

} // namespace coding
