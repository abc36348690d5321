#pragma once

// The rules of the typing check that need no window: the grouping of committed
// characters into the learner's words, the countdown display and the code hint
// of the current word.

#include "coding/candidates.h"

#include <QString>

#include <array>

namespace typing {

// Groups typed characters into bursts: characters that arrive within 200 ms of
// the previous one belong to the same burst (one word of the learner's). A burst
// is counted, by its length (5 or more counts as 5), when the next burst begins.
class BurstCounter {
public:
    static constexpr qint64 kBurstGapMs = 200;

    // A character arrived at tick nowMs; lastTickMs is the tick of the previous
    // accepted character (or of the start). Updates counts when a burst ended.
    void onCharacter(qint64 nowMs, qint64 lastTickMs, std::array<int, 5> &counts);
    int burstLength() const { return m_length; }
    void reset() { m_length = 0; }

private:
    int m_length = 0;
};

// The countdown display: h:m:s, each without leading zeros (0:4:7).
QString formatCountdown(int remainingSeconds);

// The item whose code the hint shows at position pos (0-based) of text: the whole
// word when pos begins its word (a run of equal tags), otherwise the character
// alone.
QString codeHintItem(const QString &text, const QString &tags, int pos);

// The status-bar text of the code hint: the item's standard code and short code
// and, when place says the item is not the first candidate of its shortest code,
// which candidate it is there ("第2个候选"; the code is named when it is not the
// last one the message shows). A place of 1 or an unknown place adds nothing.
QString codeHintMessage(const QString &item, const QString &stdCode, const QString &shortCode,
                        const coding::CandidatePlace &place = {});

} // namespace typing
