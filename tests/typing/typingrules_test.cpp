#include "typing/typingrules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Counts = std::array<int, 5>;

// Feeds characters at the given ticks (the first "last tick" is the start) and
// returns the counts after the last one.
Counts feed(const std::vector<qint64> &ticks, qint64 start = 0) {
    typing::BurstCounter b;
    Counts counts{};
    qint64 last = start;
    for (qint64 t : ticks) {
        b.onCharacter(t, last, counts);
        last = t;
    }
    return counts;
}

TEST(BurstCounter, GroupsCharactersByTheirGaps) {
    struct Case {
        const char *name;
        std::vector<qint64> ticks;
        Counts expected;
    } const cases[] = {
        {"burst_in_progress_is_not_counted", {1000, 1005, 1010}, {0, 0, 0, 0, 0}},
        {"three_then_a_pause_counts_a_three", {1000, 1005, 1010, 2000}, {0, 0, 1, 0, 0}},
        {"gap_of_exactly_200_ms_joins", {1000, 1200, 1700}, {0, 1, 0, 0, 0}},
        {"gap_of_201_ms_splits", {1000, 1201, 1700}, {2, 0, 0, 0, 0}},
        {"seven_count_as_five", {1000, 1001, 1002, 1003, 1004, 1005, 1006, 5000}, {0, 0, 0, 0, 1}},
        {"first_character_right_after_start_joins_nothing", {100, 1000}, {1, 0, 0, 0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(feed(c.ticks), c.expected);
    }
}

TEST(Countdown, HasNoLeadingZeros) {
    EXPECT_EQ(typing::formatCountdown(4 * 60 + 7), "0:4:7");
    EXPECT_EQ(typing::formatCountdown(299), "0:4:59");
    EXPECT_EQ(typing::formatCountdown(0), "0:0:0");
    EXPECT_EQ(typing::formatCountdown(99 * 60), "1:39:0");
}

TEST(CodeHint, WholeWordOnlyAtItsFirstCharacter) {
    const QString text = QStringLiteral("我们学习好。");
    const QString tags = QStringLiteral("001102");
    struct Case {
        int pos;
        const char *item;
    } const cases[] = {{0, "我们"}, {1, "们"}, {2, "学习"}, {3, "习"}, {4, "好"}, {5, "。"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.pos);
        EXPECT_EQ(typing::codeHintItem(text, tags, c.pos), QString::fromUtf8(c.item));
    }
}

TEST(CodeHint, Messages) {
    EXPECT_EQ(typing::codeHintMessage("好", "", ""), QStringLiteral("没有'好'的编码！"));
    EXPECT_EQ(typing::codeHintMessage("学习", "324171", ""),
              QStringLiteral("'学习'的编码为:324171"));
    EXPECT_EQ(typing::codeHintMessage("我", "23550", "23"),
              QStringLiteral("'我'的编码为:23550,简码为：23"));
}

} // namespace
