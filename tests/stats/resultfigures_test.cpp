#include "stats/resultfigures.h"

#include <gtest/gtest.h>

namespace {

struct ResultCase {
    const char *name;
    int right, err;
    qint64 ms;
    const char *duration, *accuracy, *speed, *effSpeed;
};

class ResultFiguresTest : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ResultFiguresTest, Figures) {
    const auto &c = GetParam();
    const auto f = stats::computeResultFigures(c.right, c.err, c.ms);
    EXPECT_EQ(f.duration, QString::fromUtf8(c.duration));
    EXPECT_EQ(f.accuracy, QString::fromUtf8(c.accuracy));
    EXPECT_EQ(f.speed, QString::fromUtf8(c.speed));
    EXPECT_EQ(f.effSpeed, QString::fromUtf8(c.effSpeed));
}

const qint64 kMin = 60 * 1000;
INSTANTIATE_TEST_SUITE_P(
    Cases, ResultFiguresTest,
    ::testing::Values(
        ResultCase{"two_and_a_half_minutes", 95, 5, 150 * 1000, "0:02:30", "95.00%", "40字/分",
                   "38字/分"},
        ResultCase{"zero_time", 10, 0, 0, "0:00:00", "0.00%", "0字/分", "0字/分"},
        ResultCase{"under_a_second_counts_as_zero", 3, 0, 999, "0:00:00", "0.00%", "0字/分",
                   "0字/分"},
        ResultCase{"nothing_typed", 0, 0, 5 * kMin, "0:05:00", "0.00%", "0字/分", "0字/分"},
        ResultCase{"one_hour", 600, 0, 60 * kMin, "1:00:00", "100.00%", "10字/分", "10字/分"},
        ResultCase{"half_rounds_down_to_even", 25, 0, 2 * kMin, "0:02:00", "100.00%", "12字/分",
                   "12字/分"},
        ResultCase{"half_rounds_up_to_even", 27, 0, 2 * kMin, "0:02:00", "100.00%", "14字/分",
                   "14字/分"},
        ResultCase{"accuracy_two_decimals", 9512, 488, 100 * kMin, "1:40:00", "95.12%", "100字/分",
                   "95字/分"},
        ResultCase{"all_wrong", 0, 4, kMin, "0:01:00", "0.00%", "4字/分", "0字/分"},
        ResultCase{"many_hours", 1, 0, 30 * 3600 * 1000LL, "30:00:00", "100.00%", "0字/分",
                   "0字/分"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
