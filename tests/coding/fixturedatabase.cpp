#include "fixturedatabase.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace coding::fixture {

namespace {

QString create(const QString &path, const CodeRows &rows, const QString &skipTable) {
    QFile::remove(path);
    const QString name = QStringLiteral("fixture-") + QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open())
            return db.lastError().text();
        QSqlQuery q(db);
        const auto exec = [&](const QString &sql) {
            if (error.isEmpty() && !q.exec(sql))
                error = sql + QStringLiteral(": ") + q.lastError().text();
        };
        const auto insert = [&](const QString &table, const QVariantList &values) {
            if (!error.isEmpty())
                return;
            QStringList marks(values.size(), QStringLiteral("?"));
            q.prepare(QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(table, marks.join(',')));
            for (int i = 0; i < values.size(); ++i)
                q.bindValue(i, values[i]);
            if (!q.exec())
                error = table + QStringLiteral(": ") + q.lastError().text();
        };
        db.transaction();
        QStringList tables{QStringLiteral("jtzi")};
        for (int d = 0; d < 10; ++d)
            tables << QStringLiteral("jtci%1").arg(d);
        for (const QString &t : tables) {
            if (t != skipTable)
                exec(QStringLiteral("CREATE TABLE %1 (hz TEXT, srm TEXT, jm1 TEXT, jm2 TEXT)")
                         .arg(t));
        }
        if (skipTable != QLatin1String("jmzici"))
            exec(QStringLiteral("CREATE TABLE jmzici (hz TEXT, srm TEXT)"));
        if (rows.candidates)
            exec(QStringLiteral("CREATE TABLE candidates (hz TEXT, code TEXT, position INTEGER)"));
        for (const Row &r : rows.jtzi)
            insert(QStringLiteral("jtzi"), {r.hz, r.srm, r.jm1, r.jm2});
        for (int d = 0; d < 10; ++d) {
            for (const Row &r : rows.jtci[size_t(d)])
                insert(QStringLiteral("jtci%1").arg(d), {r.hz, r.srm, r.jm1, r.jm2});
        }
        for (const auto &[item, code] : rows.jmzici)
            insert(QStringLiteral("jmzici"), {item, code});
        for (const CandidateRow &r : rows.candidates.value_or(QList<CandidateRow>{}))
            insert(QStringLiteral("candidates"), {r.hz, r.code, r.position});
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

} // namespace

QString writeCodeDatabase(const QString &path, const CodeRows &rows) {
    return create(path, rows, {});
}

QString writeDatabaseWithout(const QString &path, const QString &missingTable) {
    return create(path, CodeRows{}, missingTable);
}

CodeRows standardRows() {
    CodeRows rows;
    rows.jtzi = {
        {"我", "23550", "23", "235"}, // both short codes: the first counts
        {"们", "27220", "272", " "},  //
        {"学", "32407", " ", "324"},  // only the second short code
        {"习", "17120", " ", " "},    // no short code
        {"好", "47447", "474", " "},  //
        {"甲", "60500", "6", " "},    //
        {"乂", "A1", " ", " "},       // a code that does not begin with a digit
        {"'", "00000", " ", " "},     // a quote has a row, but a lone quote is never looked up
        {"文", "00400", " ", " "},    //
        {"变", "00400", " ", " "},    // the same code as 文
        {"化", "24210", " ", " "},    //
    };
    rows.jtci[2] = {
        {"我们", "235272", " ", " "}, {"我'们", "235999", "2359", " "}, // a quote inside
    };
    rows.jtci[3] = {{"学习", "324171", "3241", " "}};
    rows.jtci[1] = {{"丐帮", "101442", " ", "1014"}}; // 丐 has no row: found through the library
    rows.jtci[4] = {{"好好学习", "443217", " ", " "}};
    // Two words of one code: 文化, the more frequent, is its first candidate and has
    // a short code of its own; 变化 is the second candidate of 004242.
    rows.jtci[0] = {{"文化", "004242", "0042", " "}, {"变化", "004242", " ", " "}};
    rows.jmzici = {{"好", "474"}, {"学习", "3241"}, {"我", "23"}, {"甲", "6"}, {"文化", "0042"}};
    // Every item's shortest code and its place there, as the generator writes them
    // (乂 and the quote are not in the input method's tables).
    rows.candidates = QList<CandidateRow>{
        {"我", "23", 1},       {"们", "272", 1},          {"学", "324", 1},
        {"习", "17120", 1},    {"好", "474", 1},          {"甲", "6", 1},
        {"文", "00400", 1},    {"变", "00400", 2},        {"化", "24210", 1},
        {"我们", "235272", 1}, {"我'们", "2359", 1},      {"学习", "3241", 1},
        {"丐帮", "1014", 1},   {"好好学习", "443217", 1}, {"文化", "0042", 1},
        {"变化", "004242", 2},
    };
    return rows;
}

} // namespace coding::fixture
