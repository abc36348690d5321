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
        const auto insert = [&](const QString &table, const QStringList &values) {
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
        for (const Row &r : rows.jtzi)
            insert(QStringLiteral("jtzi"), {r.hz, r.srm, r.jm1, r.jm2});
        for (int d = 0; d < 10; ++d) {
            for (const Row &r : rows.jtci[size_t(d)])
                insert(QStringLiteral("jtci%1").arg(d), {r.hz, r.srm, r.jm1, r.jm2});
        }
        for (const auto &[item, code] : rows.jmzici)
            insert(QStringLiteral("jmzici"), {item, code});
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
    };
    rows.jtci[2] = {
        {"我们", "235272", " ", " "}, {"我'们", "235999", "2359", " "}, // a quote inside
    };
    rows.jtci[3] = {{"学习", "324171", "3241", " "}};
    rows.jtci[1] = {{"丐帮", "101442", " ", "1014"}}; // 丐 has no row: found through the library
    rows.jtci[4] = {{"好好学习", "443217", " ", " "}};
    rows.jmzici = {{"好", "474"}, {"学习", "3241"}, {"我", "23"}, {"甲", "6"}};
    return rows;
}

} // namespace coding::fixture
