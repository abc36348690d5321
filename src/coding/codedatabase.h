#pragma once

#include <QString>

#include <memory>
#include <optional>

namespace coding {

// The standard code and the short code of a character or a word (digit strings,
// empty when there is none).
struct CodePair {
    QString stdCode;
    QString shortCode;

    friend bool operator==(const CodePair &, const CodePair &) = default;
};

// What went wrong with the code database; the windows tell the user
// (widgets::codeDatabaseMessage).
struct CodeDatabaseError {
    enum class Kind {
        None,
        Missing, // no such file
        Damaged, // the file cannot be opened or read, or lacks a table or column
        NotOpen, // asked before a good open
    };
    Kind kind = Kind::None;
    QString path;   // the file
    QString detail; // what the database said, if anything

    bool isError() const { return kind != Kind::None; }
    friend bool operator==(const CodeDatabaseError &, const CodeDatabaseError &) = default;
};

// The code database jtdb.dat: table jtzi for characters, jtci0 ... jtci9 for words
// (by the first digit of the first character's standard code), jmzici for the items
// that have a short code. One read-only connection, opened when first needed and kept
// for the run; the queries are prepared once and run with bound values, and the
// answers for single characters are remembered while the connection stays open.
//
// A missing or damaged file is an error value (error()); this class shows nothing
// itself.
class CodeDatabase {
public:
    enum class Result { Found, NotFound, Failed };

    CodeDatabase();
    ~CodeDatabase();
    CodeDatabase(const CodeDatabase &) = delete;
    CodeDatabase &operator=(const CodeDatabase &) = delete;

    // Opens the database at path unless it is open there already, and checks that
    // it has the tables and columns the program reads. False: error() says why.
    bool open(const QString &path);
    bool isOpen() const;
    void close();
    QString path() const { return m_path; }

    // Why the last open or query failed; Kind::None after a good open.
    const CodeDatabaseError &error() const { return m_error; }

    // The error if it has not been handed out since it arose (or since the last good
    // open); otherwise nothing. Lets the windows tell the user once, not per lookup.
    std::optional<CodeDatabaseError> takeUnreportedError();

    // The row of a character in jtzi: standard code and short code by the rule
    // "jm1 unless blank, else jm2 unless blank, else none".
    Result findChar(const QString &character, CodePair &codes);
    // The row of a word in the word table of digit (0 to 9).
    Result findWord(int digit, const QString &word, CodePair &codes);
    // The short code of an item from jmzici.
    Result findShortCode(const QString &item, QString &shortCode);

    // Queries run since construction (for tests and benchmarks).
    int queryCount() const { return m_queryCount; }

private:
    struct Statements;
    Result run(int statement, const QString &key, CodePair &codes, bool withShortCodes);
    void fail(const QString &detail);

    QString m_connection;
    QString m_path;
    CodeDatabaseError m_error;
    CodeDatabaseError m_reported;
    int m_queryCount = 0;
    std::unique_ptr<Statements> m_statements;
};

} // namespace coding
