#pragma once

// What the history window derives from the recorded tests: the record of a test
// that has just ended, the learner's best and average figures, and the points of
// the progress chart.

#include "coding/appstate.h"
#include "resultshistory.h"

namespace history {

// The record of the test that has just ended: its figures as the result dialog
// shows them (speeds in whole characters a minute), the text and its tags, the
// wrong characters, and the fewest keys a character of the text (0: not known).
TestDetail detailOfTest(const coding::AppState &state, const QList<Mistake> &mistakes,
                        const QDateTime &endedAt, double bestKeysPerChar = 0);

struct Summary {
    int tests = 0;
    double bestSpeed = 0, bestEffSpeed = 0, bestAccuracy = 0;
    double averageSpeed = 0, averageEffSpeed = 0, averageAccuracy = 0;
};
Summary summarize(const QList<TestEntry> &entries);

// How the chart groups the tests: one point a test while they are few, else one a
// day, else one a week (weeks from Monday, days in local time).
enum class Grouping { Test, Day, Week };
inline constexpr int kMostPoints = 120;
Grouping groupingFor(const QList<TestEntry> &entries);

struct ChartPoint {
    QDateTime at; // the test's end, or the start of its day or week (local time)
    double speed = 0, effSpeed = 0, accuracy = 0; // averages over its tests
    int tests = 0;
};
// The points, the oldest first; textHash, when given, keeps only that text's tests.
QList<ChartPoint> chartPoints(const QList<TestEntry> &entries, Grouping grouping,
                              const QString &textHash = {});

// An item of a recorded text that the learner got wrong: where it starts, the item
// (a word of the segmentation, or a single other character) and what was typed in
// its place (its right characters as they are, the wrong ones as typed).
struct WrongWord {
    int start = 0;
    QString word;
    QString typed;

    friend bool operator==(const WrongWord &, const WrongWord &) = default;
};
// In the order of the text; nothing when the text was not kept.
QList<WrongWord> wrongWords(const TestDetail &detail);

} // namespace history
