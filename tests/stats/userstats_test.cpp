// The learner's figures of the detailed statistics: bursts by length with the
// burst left open at the end, key presses and key presses per character.
#include "stats/userstats.h"

#include "coding/appstate.h"

#include <gtest/gtest.h>

namespace stats {
namespace {

using Counts = std::array<int, 5>;

TEST(UserFigures, Bursts) {
    struct Case {
        const char *name;
        int right, err;
        Counts typed, shown;
    } const cases[] = {
        {"open_burst_of_three", 6, 2, {3, 1, 0, 0, 0}, {3, 1, 1, 0, 0}},
        {"open_burst_of_seven_counts_as_five_or_more", 12, 0, {5, 0, 0, 0, 0}, {5, 0, 0, 0, 1}},
        {"open_burst_of_one", 4, 0, {1, 1, 0, 0, 0}, {2, 1, 0, 0, 0}},
        {"all_covered", 5, 0, {3, 1, 0, 0, 0}, {3, 1, 0, 0, 0}},
        {"more_covered_than_typed_after_corrections", 3, 0, {0, 0, 0, 1, 0}, {0, 0, 0, 1, 0}},
        {"long_bursts_cover_five_each", 11, 0, {0, 0, 0, 0, 2}, {1, 0, 0, 0, 2}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const UserFigures f = computeUserFigures(c.right, c.err, c.typed, 10);
        EXPECT_TRUE(f.typed);
        EXPECT_EQ(f.charTotal, c.right + c.err);
        EXPECT_EQ(f.wordLenCounts, c.shown);
    }
}

TEST(UserFigures, AverageKeys) {
    struct Case {
        const char *name;
        int keys, n;
        const char *shown;
        double value;
    } const cases[] = {
        {"exact", 26, 8, "3.25", 3.25},
        {"half_rounds_away_from_zero", 1, 8, "0.13", 0.13},
        {"repeating", 2, 3, "0.67", 0.67},
        {"whole", 16, 8, "2.00", 2.0},
        {"no_keys", 0, 5, "0.00", 0.0},
        {"four_integer_digits", 12345, 1, "12345.00", 12345.0},
        {"past_16_bits", 40000, 3, "13333.33", 13333.33},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const UserFigures f = computeUserFigures(c.n, 0, {}, c.keys);
        EXPECT_EQ(f.keyTotal, c.keys);
        EXPECT_EQ(f.avgKeysText, QString::fromLatin1(c.shown));
        EXPECT_DOUBLE_EQ(f.avgKeys, c.value);
    }
}

TEST(UserFigures, NothingTypedLeavesTheOtherFiguresAlone) {
    coding::AppState state(coding::AppDirectory::at("/nonexistent"), nullptr);
    state.test.TypedWordCounts = {1, 0, 0, 0, 0};
    state.test.KeyPressCount = 3;
    state.derived.learner = coding::LearnerFigures{99, 7, {7, 7, 7, 7, 7}, 7.5};
    const UserFigures f = computeUserFigures(state);
    EXPECT_FALSE(f.typed);
    EXPECT_TRUE(f.avgKeysText.isEmpty());
    EXPECT_EQ(state.derived.learner->UserCharTotal, 0);
    EXPECT_EQ(state.derived.learner->UserWordLenCounts, (Counts{7, 7, 7, 7, 7}));
    EXPECT_EQ(state.derived.learner->UserKeyTotal, 7);
    EXPECT_EQ(state.derived.learner->UserAvgKeys, 7.5);
}

TEST(UserFigures, StoredInTheStateAsShown) {
    coding::AppState state(coding::AppDirectory::at("/nonexistent"), nullptr);
    state.test.RightCount = 7;
    state.test.ErrCount = 1;
    state.test.TypedWordCounts = {3, 1, 0, 0, 0};
    state.test.KeyPressCount = 26;
    computeUserFigures(state);
    EXPECT_EQ(state.derived.learner->UserCharTotal, 8);
    EXPECT_EQ(state.derived.learner->UserWordLenCounts, (Counts{3, 1, 1, 0, 0}));
    EXPECT_EQ(state.derived.learner->UserKeyTotal, 26);
    EXPECT_EQ(state.derived.learner->UserAvgKeys, 3.25);
    EXPECT_EQ(state.test.TypedWordCounts, (Counts{3, 1, 0, 0, 0})); // the record itself stays
}

} // namespace
} // namespace stats
