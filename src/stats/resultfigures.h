#pragma once

#include <QString>

namespace stats {

// The figures of the result dialog for one ended test.
struct ResultFigures {
    QString duration; // "h:mm:ss"
    QString accuracy; // "95.00%"
    QString speed;    // "40字/分"
    QString effSpeed; // "38字/分"
};

// Formats a duration in milliseconds as h:mm:ss (hours not padded, whole seconds).
QString formatDuration(qint64 ms);

// Accuracy, speed and effective speed from the right and wrong counts and the
// net duration. Only whole seconds of the duration count, as shown. Speeds are
// rounded to the nearest whole number, halves to the even neighbour.
ResultFigures computeResultFigures(int rightCount, int errCount, qint64 durationMs);

// The status bar's figures while a test runs: "用时 0:01:23  速度 40字/分  正确率
// 98.00%", or with the time limited "剩余 0:03:37 ..." (remainingSeconds >= 0);
// the accuracy is "—" until something is typed.
QString liveFiguresText(qint64 elapsedMs, int rightCount, int errCount, int remainingSeconds = -1);

// Rounds to the nearest integer, halves to the even neighbour (12.5 -> 12, 13.5 -> 14).
qint64 roundHalfEven(double value);

} // namespace stats
