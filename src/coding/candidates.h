#pragma once

#include <QString>

#include <memory>

namespace coding {

// Candidates a page in both input-method tables (IBus and Fcitx 5); F1 ... F5
// choose on the page, Space the highlighted one (the first unless moved).
constexpr int kCandidatesPerPage = 5;

// Where an item stands among the candidates that the input method lists for its
// shortest code (its first short code, or its standard code when it has none).
struct CandidatePlace {
    QString code;
    int position = 0; // 1-based; 0 when not known

    friend bool operator==(const CandidatePlace &, const CandidatePlace &) = default;
};

// The keys that reach the candidate at a 1-based position: Page Down pagesDown
// times, then the selection key F<selectionKey> (Space does for the first of the
// first page). Both 0 for a position below 1.
struct CandidateKeys {
    int pagesDown = 0;
    int selectionKey = 0;

    friend bool operator==(const CandidateKeys &, const CandidateKeys &) = default;
};
CandidateKeys candidateKeys(int position);

// The candidate places that the generator writes into the code database jtdb.dat
// (table candidates: hz, code, position). A read-only connection of its own,
// opened when first needed; a file without the table is refused, so that an older
// database gives no answers rather than wrong ones.
class CandidateTable {
public:
    enum class Result { Found, NotFound, Failed };

    CandidateTable();
    ~CandidateTable();
    CandidateTable(const CandidateTable &) = delete;
    CandidateTable &operator=(const CandidateTable &) = delete;

    // Opens the database at path unless it is open there already. False:
    // errorString() says why.
    bool open(const QString &path);
    bool isOpen() const;
    void close();

    // Why the last open or query failed, naming the file; empty after a good open.
    QString errorString() const { return m_error; }

    // The place of a character or word among the candidates of its shortest code.
    // NotFound (place empty) for an item the tables do not hold, or whose row is
    // unusable (no code, a position that is no number from 1 up).
    Result find(const QString &item, CandidatePlace &place);

private:
    struct Connection;
    void fail(const QString &detail);

    QString m_connection;
    QString m_path;
    QString m_error;
    std::unique_ptr<Connection> m_db;
};

} // namespace coding
