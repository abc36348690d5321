#pragma once

// The learner's results history: every ended test in a per-user SQLite database
// ($XDG_DATA_HOME/Trevix2006/history.sqlite, never the application directory).
//
// Schema (PRAGMA user_version):
//   1  tests: one row a test, its figures and the learner's burst counts.
//   2  texts (each tested text once, by its hash, with its tags) and mistakes (the
//      wrong characters of a test with their positions and what was typed).
//   3  the fewest keys a character that the text allows (理论码长), beside the
//      learner's own; 0 for the tests recorded before.
//   4  inputs: the commits of a test (where, how long, their inferred keys), for
//      the shortcuts it missed.
// An older database is moved forward when it is opened; one of a newer release is
// left alone and not written. A file that SQLite cannot read as a database is set
// aside (renamed, with the time) and a new one started; notice() tells where.

#include "coding/appstate.h"
#include "coding/services.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <functional>
#include <optional>

class QSqlQuery;

namespace history {

inline constexpr int kSchemaVersion = 4;

// A wrong character of a test: its position in the text (UTF-16 index), the
// text's character and what the learner typed there instead.
struct Mistake {
    int position = 0;
    QString expected;
    QString typed;

    friend bool operator==(const Mistake &, const Mistake &) = default;
};

// One recorded test, as the history's table shows it.
struct TestEntry {
    qint64 id = 0;
    QDateTime endedAt; // UTC
    QString textHash;  // textHash() of the text
    QString textHead;  // its first characters
    qint64 durationMs = 0;
    int total = 0; // characters of the text
    int rightCount = 0;
    int wrongCount = 0;
    double accuracy = 0; // per cent of the characters typed
    double speed = 0;    // characters typed a minute
    double effSpeed = 0; // right characters a minute
    int keyPresses = 0;
    double keysPerChar = 0;      // key presses a typed character (码长)
    double bestKeysPerChar = 0;  // the fewest keys of the text a character (理论码长)
    std::array<int, 5> bursts{}; // inputs of 1, 2, 3, 4, 5+ characters
};

// A test with everything the review of its mistakes needs.
struct TestDetail {
    TestEntry entry;
    QString text; // empty for a test recorded before texts were kept
    QString tags;
    QList<Mistake> mistakes;
    QList<coding::TypedInput> inputs; // empty for a test recorded before inputs were kept
};

// The SHA-1 of the text's UTF-8, in hex: the same text is the same text.
QString textHash(const QString &text);
// The first characters of the text, at most 20, line breaks as blanks.
QString textHead(const QString &text);

class ResultsHistory {
public:
    // $XDG_DATA_HOME (or ~/.local/share)/Trevix2006/history.sqlite.
    static QString defaultPath();

    explicit ResultsHistory(QString path);
    ~ResultsHistory();
    ResultsHistory(const ResultsHistory &) = delete;
    ResultsHistory &operator=(const ResultsHistory &) = delete;

    const QString &path() const { return m_path; }

    // Opens the database, creating or moving it forward as needed; a damaged file
    // is set aside first (notice()). False with *error when it cannot be used.
    // Harmless when already open.
    bool open(QString *error);
    bool isOpen() const { return m_open; }
    // What open() had to do that the user should know (a file set aside), once.
    QString takeNotice();
    int schemaVersion() const { return m_version; }

    // Records a test in one transaction: the test, its text (once a text) and its
    // mistakes; sets detail.entry.id. False with *error, and nothing recorded.
    bool record(TestDetail &detail, QString *error);
    // Every test, the newest first. Without full only what the history's table,
    // summary and chart show (the counts, key presses and bursts stay 0): reading
    // tens of thousands of tests stays quick.
    std::optional<QList<TestEntry>> entries(QString *error, bool full = true);
    std::optional<TestDetail> detail(qint64 id, QString *error);
    // Removes a test and its mistakes (its text stays while another test has it).
    bool remove(qint64 id, QString *error);

    // Records a test that has just ended and tells the user what went wrong, a
    // failure once a run (the next failures are silent; the test's result is shown
    // all the same), a damaged file set aside each time.
    bool recordAndTell(TestDetail &detail, coding::MessageService &messages);

private:
    bool migrate(QString *error);
    // Runs body in one transaction: committed when it gives true, else rolled
    // back; false with *error then.
    bool write(QString *error, const std::function<bool(QSqlQuery &)> &body);

    QString m_path;
    QString m_connection;
    QString m_notice;
    bool m_failureTold = false;
    int m_version = 0;
    bool m_open = false;
};

// The tests as CSV, UTF-8 with a byte-order mark so that a spreadsheet reads the
// Chinese, CR LF line ends, a header line; written whole or not at all.
bool exportCsv(const QString &path, const QList<TestEntry> &entries, QString *error);

} // namespace history
