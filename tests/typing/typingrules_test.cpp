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

// The candidate part follows the codes only when the item is not the first
// candidate of its shortest code; the texts without it stay as they are.
TEST(CodeHint, MessagesWithTheCandidatePlace) {
    struct Case {
        const char *name;
        QString item, stdCode, shortCode;
        coding::CandidatePlace place;
        QString message;
    } const cases[] = {
        {"second_under_its_standard_code",
         "变化",
         "004242",
         "",
         {"004242", 2},
         "'变化'的编码为:004242,第2个候选"},
        {"on_the_second_page",
         "五分",
         "101802",
         "",
         {"101802", 6},
         "'五分'的编码为:101802,第6个候选"},
        {"under_its_short_code",
         "学习",
         "324171",
         "3241",
         {"3241", 3},
         "'学习'的编码为:324171,简码为：3241,第3个候选"},
        {"under_a_code_not_shown_last_is_named",
         "学习",
         "324171",
         "3241",
         {"324171", 2},
         "'学习'的编码为:324171,简码为：3241,是324171的第2个候选"},
        {"first_adds_nothing",
         "文化",
         "004242",
         "0042",
         {"0042", 1},
         "'文化'的编码为:004242,简码为：0042"},
        {"unknown_place_adds_nothing", "学习", "324171", "", {}, "'学习'的编码为:324171"},
        {"no_code_stays_without_place", "乙", "", "", {"12345", 4}, "没有'乙'的编码！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(typing::codeHintMessage(c.item, c.stdCode, c.shortCode, c.place), c.message);
    }
}

} // namespace
