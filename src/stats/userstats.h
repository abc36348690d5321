#pragma once

#include <QString>

#include <array>

namespace coding {
struct AppState;
}

namespace stats {

// The learner's figures of the detailed statistics, as shown.
struct UserFigures {
    int charTotal = 0; // characters typed: right + wrong
    // Whether anything was typed; when not, only charTotal is shown and the texts
    // below stay empty.
    bool typed = false;
    std::array<int, 5> wordLenCounts{}; // input bursts of 1, 2, 3, 4, 5+ characters
    int keyTotal = 0;                   // key presses
    QString avgKeysText;                // key presses per character, "###0.00"
    double avgKeys = 0.0;               // the number shown in avgKeysText
};

// numerator / denominator formatted "###0.00" (at least one integer digit, two
// decimals), computed exactly, halves rounded away from zero (1 / 8 gives 0.13).
// Empty when denominator is not positive.
QString formatRatio(qint64 numerator, qint64 denominator);

// The learner's figures from the test record. The bursts are the counted ones; when
// they cover fewer characters than were typed (sum of length times count), the
// characters typed after the last counted burst form one more burst, of their number
// of characters, five or more counting as five.
UserFigures computeUserFigures(int rightCount, int errCount,
                               const std::array<int, 5> &typedWordCounts, int keyPressCount);

// The same from the state's test record; stores the figures in derived.learner
// (UserCharTotal and, when anything was typed, the other three; else they stay).
UserFigures computeUserFigures(coding::AppState &state);

} // namespace stats
