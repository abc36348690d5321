#include "historyfigures.h"

#include "coding/tags.h"

#include <QHash>
#include <QMap>

#include <algorithm>
#include <cmath>

namespace history {

TestDetail detailOfTest(const coding::AppState &state, const QList<Mistake> &mistakes,
                        const QDateTime &endedAt, double bestKeysPerChar) {
    const coding::TestRecord &test = state.test;
    TestDetail d;
    TestEntry &e = d.entry;
    e.endedAt = endedAt.toUTC();
    e.textHash = textHash(state.text.text);
    e.textHead = textHead(state.text.text);
    e.durationMs = test.TestDuration;
    e.total = int(state.text.text.size());
    e.rightCount = test.RightCount;
    e.wrongCount = test.ErrCount;
    e.keyPresses = test.KeyPressCount;
    e.bursts = test.TypedWordCounts;
    e.bestKeysPerChar = std::round(100.0 * bestKeysPerChar) / 100.0;
    const int typed = test.RightCount + test.ErrCount;
    // Whole seconds, as the result dialog counts them.
    const qint64 seconds = std::max<qint64>(0, test.TestDuration / 1000);
    if (typed > 0) {
        e.accuracy = std::round(10000.0 * test.RightCount / typed) / 100.0;
        e.keysPerChar = std::round(100.0 * test.KeyPressCount / typed) / 100.0;
        if (seconds > 0) {
            const double minutes = double(seconds) / 60.0;
            e.speed = std::nearbyint(typed / minutes);
            e.effSpeed = std::nearbyint(test.RightCount / minutes);
        }
    }
    d.text = state.text.text;
    d.tags = state.text.SegmentTags;
    d.mistakes = mistakes;
    return d;
}

Summary summarize(const QList<TestEntry> &entries) {
    Summary s;
    s.tests = int(entries.size());
    if (entries.isEmpty())
        return s;
    for (const TestEntry &e : entries) {
        s.bestSpeed = std::max(s.bestSpeed, e.speed);
        s.bestEffSpeed = std::max(s.bestEffSpeed, e.effSpeed);
        s.bestAccuracy = std::max(s.bestAccuracy, e.accuracy);
        s.averageSpeed += e.speed;
        s.averageEffSpeed += e.effSpeed;
        s.averageAccuracy += e.accuracy;
    }
    s.averageSpeed /= s.tests;
    s.averageEffSpeed /= s.tests;
    s.averageAccuracy /= s.tests;
    return s;
}

namespace {

// The local day of a time: the time-zone conversion once a day met, not once a
// test (tests come in runs of the same day).
class LocalDays {
public:
    QDate dayOf(const QDateTime &at) {
        const qint64 ms = at.toMSecsSinceEpoch();
        if (ms < m_from || ms >= m_to) {
            m_day = at.toLocalTime().date();
            m_from = QDateTime(m_day, QTime(0, 0)).toMSecsSinceEpoch();
            m_to = QDateTime(m_day.addDays(1), QTime(0, 0)).toMSecsSinceEpoch();
        }
        return m_day;
    }

private:
    QDate m_day;
    qint64 m_from = 0, m_to = 0;
};

QDateTime groupStart(LocalDays &days, const QDateTime &at, Grouping grouping) {
    QDate day = days.dayOf(at);
    if (grouping == Grouping::Week)
        day = day.addDays(1 - day.dayOfWeek());
    return QDateTime(day, QTime(0, 0));
}

} // namespace

Grouping groupingFor(const QList<TestEntry> &entries) {
    if (entries.size() <= kMostPoints)
        return Grouping::Test;
    const auto [oldest, newest] = std::minmax_element(
        entries.cbegin(), entries.cend(),
        [](const TestEntry &a, const TestEntry &b) { return a.endedAt < b.endedAt; });
    const qint64 days =
        oldest->endedAt.toLocalTime().date().daysTo(newest->endedAt.toLocalTime().date());
    return days < kMostPoints ? Grouping::Day : Grouping::Week;
}

QList<ChartPoint> chartPoints(const QList<TestEntry> &entries, Grouping grouping,
                              const QString &textHash) {
    QList<ChartPoint> points;
    if (grouping == Grouping::Test) {
        for (const TestEntry &e : entries) {
            if (textHash.isEmpty() || e.textHash == textHash)
                points.append({e.endedAt.toLocalTime(), e.speed, e.effSpeed, e.accuracy, 1});
        }
        std::stable_sort(points.begin(), points.end(),
                         [](const ChartPoint &a, const ChartPoint &b) { return a.at < b.at; });
        return points;
    }
    QMap<QDate, ChartPoint> groups; // ordered by time: the oldest first
    LocalDays days;
    for (const TestEntry &e : entries) {
        if (!textHash.isEmpty() && e.textHash != textHash)
            continue;
        const QDateTime start = groupStart(days, e.endedAt, grouping);
        ChartPoint &p = groups[start.date()];
        p.at = start;
        p.speed += e.speed;
        p.effSpeed += e.effSpeed;
        p.accuracy += e.accuracy;
        ++p.tests;
    }
    points.reserve(groups.size());
    for (ChartPoint p : std::as_const(groups)) {
        p.speed /= p.tests;
        p.effSpeed /= p.tests;
        p.accuracy /= p.tests;
        points.append(p);
    }
    return points;
}

QList<WrongWord> wrongWords(const TestDetail &detail) {
    QList<WrongWord> words;
    if (detail.text.isEmpty() || detail.mistakes.isEmpty() ||
        detail.tags.size() != detail.text.size())
        return words;
    QHash<int, QString> typedAt;
    for (const Mistake &m : detail.mistakes)
        typedAt.insert(m.position, m.typed);
    const auto item = [&](qsizetype start, qsizetype end) {
        QString typed;
        bool wrong = false;
        for (qsizetype i = start; i < end;) {
            const qsizetype len = detail.text.at(i).isHighSurrogate() && i + 1 < end ? 2 : 1;
            if (const auto it = typedAt.constFind(int(i)); it != typedAt.cend()) {
                typed += it->isEmpty() ? QStringLiteral("□") : *it;
                wrong = true;
            } else {
                typed += detail.text.mid(i, len);
            }
            i += len;
        }
        if (wrong)
            words.append({int(start), detail.text.mid(start, end - start), typed});
    };
    for (const coding::TagRun &run : coding::TagRuns(detail.tags)) {
        if (run.isWord()) {
            item(run.start, run.end());
            continue;
        }
        for (qsizetype i = run.start; i < run.end();) {
            const qsizetype len = detail.text.at(i).isHighSurrogate() && i + 1 < run.end() ? 2 : 1;
            item(i, i + len);
            i += len;
        }
    }
    return words;
}

} // namespace history
