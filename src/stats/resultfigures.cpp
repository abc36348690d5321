#include "resultfigures.h"

#include <cmath>

namespace stats {

QString formatDuration(qint64 ms) {
    const qint64 total = ms < 0 ? 0 : ms / 1000;
    const qint64 h = total / 3600, m = (total % 3600) / 60, s = total % 60;
    return QStringLiteral("%1:%2:%3")
        .arg(h)
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

qint64 roundHalfEven(double value) {
    return qint64(std::nearbyint(value));
}

ResultFigures computeResultFigures(int rightCount, int errCount, qint64 durationMs) {
    ResultFigures f;
    f.duration = formatDuration(durationMs);
    const qint64 seconds = durationMs < 0 ? 0 : durationMs / 1000;
    const double minutes = double(seconds) / 60.0;
    const int typed = rightCount + errCount;
    const QString perMinute = QStringLiteral("字/分");
    if (seconds == 0 || typed == 0) {
        f.accuracy = QStringLiteral("0.00%");
        f.speed = QStringLiteral("0") + perMinute;
        f.effSpeed = QStringLiteral("0") + perMinute;
        return f;
    }
    f.accuracy = QString::number(100.0 * rightCount / typed, 'f', 2) + QLatin1Char('%');
    f.speed = QString::number(roundHalfEven(typed / minutes)) + perMinute;
    f.effSpeed = QString::number(roundHalfEven(rightCount / minutes)) + perMinute;
    return f;
}

QString liveFiguresText(qint64 elapsedMs, int rightCount, int errCount, int remainingSeconds) {
    const ResultFigures f = computeResultFigures(rightCount, errCount, elapsedMs);
    const QString time = remainingSeconds >= 0 ? QStringLiteral("剩余 ") +
                                                     formatDuration(qint64(remainingSeconds) * 1000)
                                               : QStringLiteral("用时 ") + f.duration;
    return QStringLiteral("%1  速度 %2  正确率 %3")
        .arg(time, f.speed, rightCount + errCount > 0 ? f.accuracy : QStringLiteral("—"));
}

} // namespace stats
