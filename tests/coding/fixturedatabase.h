#pragma once

// Builds small code databases (jtdb.dat) for tests, with exactly the rows a test
// needs, so that expected codes are known.

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace coding::fixture {

struct Row {
    QString hz, srm, jm1 = QStringLiteral(" "), jm2 = QStringLiteral(" ");
};

// A row of the table candidates: an item, its shortest code and its 1-based place
// among that code's candidates (any value, so that unusable rows can be written).
struct CandidateRow {
    QString hz, code;
    QVariant position;
};

struct CodeRows {
    QList<Row> jtzi;
    std::array<QList<Row>, 10> jtci;           // jtci0 ... jtci9
    QList<std::pair<QString, QString>> jmzici; // item, short code
    // The table candidates; none at all (as in a database of an older release)
    // when empty.
    std::optional<QList<CandidateRow>> candidates;
};

// Writes a database with the program's tables and the given rows to path. Returns
// an error message, empty on success.
QString writeCodeDatabase(const QString &path, const CodeRows &rows);

// A database with tables but some missing: for damaged-file cases.
QString writeDatabaseWithout(const QString &path, const QString &missingTable);

// The rows most tests use (see fixturedatabase.cpp for what each row shows).
CodeRows standardRows();

} // namespace coding::fixture
