#include "userstats.h"

#include "coding/appstate.h"

#include <algorithm>

namespace stats {

QString formatRatio(qint64 numerator, qint64 denominator) {
    if (denominator <= 0)
        return {};
    // Hundredths, halves rounded away from zero, computed exactly.
    const bool negative = numerator < 0;
    const qint64 a = negative ? -numerator : numerator;
    const qint64 cents = (200 * a + denominator) / (2 * denominator);
    return QStringLiteral("%1%2.%3")
        .arg(negative && cents != 0 ? QStringLiteral("-") : QString())
        .arg(cents / 100)
        .arg(cents % 100, 2, 10, QLatin1Char('0'));
}

UserFigures computeUserFigures(int rightCount, int errCount,
                               const std::array<int, 5> &typedWordCounts, int keyPressCount) {
    UserFigures f;
    const int n = rightCount + errCount;
    f.charTotal = n;
    if (n <= 0)
        return f;
    f.typed = true;
    f.wordLenCounts = typedWordCounts;
    qint64 covered = 0;
    for (size_t k = 0; k < 5; ++k)
        covered += qint64(k + 1) * typedWordCounts[k];
    if (covered < n) {
        const qint64 d = std::min<qint64>(n - covered, 5);
        ++f.wordLenCounts[size_t(d - 1)];
    }
    f.keyTotal = keyPressCount;
    f.avgKeysText = formatRatio(keyPressCount, n);
    f.avgKeys = f.avgKeysText.toDouble();
    return f;
}

UserFigures computeUserFigures(coding::AppState &state) {
    const UserFigures f = computeUserFigures(state.test.RightCount, state.test.ErrCount,
                                             state.test.TypedWordCounts, state.test.KeyPressCount);
    // Figures shown earlier for this test stay where nothing new is shown.
    coding::LearnerFigures &shown =
        state.derived.learner ? *state.derived.learner : state.derived.learner.emplace();
    shown.UserCharTotal = f.charTotal;
    if (f.typed) {
        shown.UserWordLenCounts = f.wordLenCounts;
        shown.UserKeyTotal = f.keyTotal;
        shown.UserAvgKeys = f.avgKeys;
    }
    return f;
}

} // namespace stats
