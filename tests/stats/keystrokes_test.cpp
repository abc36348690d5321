// The keystroke counts of the whole text and of the typed text, over hand-made
// tables whose numbers are worked out by hand.
#include "stats/keystrokes.h"

#include "coding/appstate.h"

#include <gtest/gtest.h>

#include <QSet>

namespace stats {
namespace {

using coding::CodeRecord;
using WordTable = std::array<QList<CodeRecord>, 5>;

coding::TextTables tables(const QList<CodeRecord> &chars, const WordTable &words = {},
                          int alpha = 0) {
    coding::TextTables t;
    t.CharTable = chars;
    t.WordTable = words;
    t.AlphaCount = alpha;
    return t;
}

// The counts that a case expects, by index; every index not named is 0.
KeyCounts counts(std::initializer_list<std::pair<int, int>> values) {
    KeyCounts k{};
    for (const auto &[index, value] : values)
        k[size_t(index)] = value;
    return k;
}

TEST(CodeLength, BlanksAroundDoNotCount) {
    EXPECT_EQ(codeLength(""), 0);
    EXPECT_EQ(codeLength("2355"), 4);
    EXPECT_EQ(codeLength(" 23 "), 2);
    EXPECT_EQ(codeLength("   "), 0);
}

TEST(KeyCountLines, EveryIndexOnceInTheReportOrder) {
    QSet<int> seen;
    for (const KeyCountLine &line : keyCountLines())
        seen.insert(line.index);
    EXPECT_EQ(seen.size(), 24);
    EXPECT_EQ(keyCountLines()[3].label, QStringLiteral("单字标准码输入时的字母数字数："));
    EXPECT_EQ(keyCountLines()[3].index, CharStdAlpha);
    EXPECT_EQ(keyCountLines()[23].label, QStringLiteral("词组简码输入时的功能键数："));
    EXPECT_EQ(keyCountLines()[23].index, WordShortFunc);
}

// --- Whole text ------------------------------------------------------------------

TEST(TextKeys, LettersAndDigitsOnly) {
    // Every total is the number of letters and digits; only the word ways' punctuation
    // fields show the punctuation count, here 0.
    const KeyCounts k = countTextKeys(tables({}), 7, 0);
    EXPECT_EQ(k, counts({{CharStdTotal, 7},
                         {CharShortTotal, 7},
                         {WordStdTotal, 7},
                         {WordShortTotal, 7},
                         {CharStdAlpha, 7},
                         {CharShortAlpha, 7},
                         {WordStdAlpha, 7},
                         {WordShortAlpha, 7}}));
}

TEST(TextKeys, CharacterWays) {
    struct Case {
        const char *name;
        QList<CodeRecord> chars;
        KeyCounts expected;
    } const cases[] = {
        {"three_times_four_digit_code_with_two_digit_short_code",
         {{"我", 3, "2355", "23"}},
         counts({{CharStdTotal, 18},
                 {CharStdChars, 12},
                 {CharStdFunc, 6},
                 {CharShortTotal, 12},
                 {CharShortShort, 6},
                 {CharShortFunc, 6}})},
        {"symbol_without_code_four_times_costs_one_key_each",
         {{"，", 4, "", ""}},
         counts({{CharStdTotal, 4}, {CharStdPunct, 4}, {CharShortTotal, 4}, {CharShortPunct, 4}})},
        {"no_short_code_takes_the_standard_code",
         {{"习", 2, "17120", ""}},
         counts({{CharStdTotal, 14},
                 {CharStdChars, 10},
                 {CharStdFunc, 4},
                 {CharShortTotal, 14},
                 {CharShortStd, 10},
                 {CharShortFunc, 4}})},
        {"blanks_around_codes_are_not_keys",
         {{"我", 1, " 2355 ", " 23"}},
         counts({{CharStdTotal, 6},
                 {CharStdChars, 4},
                 {CharStdFunc, 2},
                 {CharShortTotal, 4},
                 {CharShortShort, 2},
                 {CharShortFunc, 2}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countTextKeys(tables(c.chars), 0, 0), c.expected);
    }
}

TEST(TextKeys, WordWays) {
    struct Case {
        const char *name;
        WordTable words;
        KeyCounts expected;
    } const cases[] = {
        {"one_character_word_with_short_code",
         {QList<CodeRecord>{{"我", 2, "23550", "23"}}},
         counts({{WordStdTotal, 14},
                 {WordStdChars, 10},
                 {WordStdFunc, 4},
                 {WordShortTotal, 8},
                 {WordShortCharShort, 4},
                 {WordShortFunc, 4}})},
        {"six_character_word_counts_with_the_long_words",
         {{{}, {}, {}, {}, QList<CodeRecord>{{"中华人民共和国", 3, "528060", "528"}}}},
         counts({{WordStdTotal, 24},
                 {WordStdWords, 18},
                 {WordStdFunc, 6},
                 {WordShortTotal, 15},
                 {WordShortWordShort, 9},
                 {WordShortFunc, 6}})},
        {"word_without_any_code_still_costs_function_keys",
         {{{}, QList<CodeRecord>{{"丐帮", 1, "", ""}}}},
         counts({{WordStdTotal, 2}, {WordStdFunc, 2}, {WordShortTotal, 2}, {WordShortFunc, 2}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countTextKeys(tables({}, c.words), 0, 0), c.expected);
    }
}

TEST(TextKeys, AllFourWaysTogether) {
    // 我 ×3 (2355 / 23), ， ×4 (no code), 习 ×2 (17120, no short code); words 我 (class
    // 1), 学习 ×2 (class 2, 324171, no short code), a six-character word (class 5,
    // 111000 / 1110); 5 letters and digits and 4 punctuation characters in the text.
    const QList<CodeRecord> chars{
        {"我", 3, "2355", "23"}, {"，", 4, "", ""}, {"习", 2, "17120", ""}};
    const WordTable words{QList<CodeRecord>{{"我", 1, "2355", "23"}},
                          QList<CodeRecord>{{"学习", 2, "324171", ""}},
                          {},
                          {},
                          QList<CodeRecord>{{"一二三四五六", 1, "111000", "1110"}}};
    const KeyCounts expected{41, 22, 4,  10,        // 0-3
                             35, 10, 6,  4,  10,    // 4-8
                             39, 4,  18, 4,  8,     // 9-13
                             35, 12, 2,  4,  4,  8, // 14-19
                             5,  5,  5,  5};        // 20-23
    EXPECT_EQ(countTextKeys(tables(chars, words), 5, 4), expected);
}

TEST(TextKeys, FromTheStatesTablesAndClasses) {
    coding::AppState state(coding::AppDirectory::at("/nonexistent"), nullptr);
    coding::TextTables &t = state.derived.textTables.emplace();
    t.CharTable = {{"我", 1, "2355", "23"}};
    t.WordTable[1] = {{"学习", 1, "324171", "3241"}};
    t.AlphaCount = 99; // the text's own AlphaCount counts
    state.text.AlphaCount = 2;
    state.text.SymCount = 1;
    const KeyCounts k = countTextKeys(state);
    EXPECT_EQ(k[CharStdPunct], 0);
    EXPECT_EQ(k[CharStdTotal], 4 + 2 + 2);
    EXPECT_EQ(k[WordShortTotal], 4 + 2 + 1 + 2);
}

// --- Typed text ------------------------------------------------------------------

TEST(UserKeys, LettersAndDigitsOnly) {
    const KeyCounts k = countUserKeys(tables({}, {}, 6));
    for (const int total : {CharStdTotal, CharShortTotal, WordStdTotal, WordShortTotal})
        EXPECT_EQ(k[size_t(total)], 6);
    EXPECT_EQ(k[WordStdPunct], 0);
}

TEST(UserKeys, Cases) {
    struct Case {
        const char *name;
        QList<CodeRecord> chars;
        WordTable words;
        KeyCounts expected;
    } const cases[] = {
        {"two_commas_in_a_row_are_one_punctuation_item",
         {{"，", 2, "", ""}},
         {{{}, QList<CodeRecord>{{"，，", 1, "", ""}}}},
         counts({{CharStdTotal, 2},
                 {CharStdPunct, 2},
                 {CharShortTotal, 2},
                 {CharShortPunct, 2},
                 {WordStdTotal, 2},
                 {WordStdPunct, 2},
                 {WordShortTotal, 2},
                 {WordShortPunct, 2}})},
        {"one_character_punctuation_item_costs_one_key_per_occurrence",
         {{"。", 3, "", ""}},
         {QList<CodeRecord>{{"。", 3, "", ""}}},
         counts({{CharStdTotal, 3},
                 {CharStdPunct, 3},
                 {CharShortTotal, 3},
                 {CharShortPunct, 3},
                 {WordStdTotal, 3},
                 {WordStdPunct, 3},
                 {WordShortTotal, 3},
                 {WordShortPunct, 3}})},
        {"blank_item_of_its_own_in_class_one",
         {{" ", 2, "", ""}},
         {QList<CodeRecord>{{" ", 2, "", ""}}},
         // nothing in the character ways nor in the word ways with standard codes;
         // two function keys per occurrence with short codes
         counts({{WordShortTotal, 4}, {WordShortFunc, 4}})},
        {"blank_run_in_a_longer_class",
         {{" ", 2, "", ""}},
         {{{}, QList<CodeRecord>{{"  ", 1, "", ""}}}},
         counts({{WordStdTotal, 2}, {WordStdFunc, 2}, {WordShortTotal, 2}, {WordShortFunc, 2}})},
        {"blank_inside_a_punctuation_run_is_dropped",
         {},
         {{{}, {}, QList<CodeRecord>{{"， ！", 1, "", ""}}}},
         counts({{WordStdTotal, 2}, {WordStdPunct, 2}, {WordShortTotal, 2}, {WordShortPunct, 2}})},
        {"words_with_codes",
         {{"我", 2, "23550", "23"}, {"习", 1, "17120", ""}},
         {QList<CodeRecord>{{"我", 2, "23550", "23"}},
          QList<CodeRecord>{{"学习", 1, "324171", "3241"}, {"们好", 1, "272474", ""}}},
         counts({{CharStdTotal, 21},
                 {CharStdChars, 15},
                 {CharStdFunc, 6},
                 {CharShortTotal, 15},
                 {CharShortStd, 5},
                 {CharShortShort, 4},
                 {CharShortFunc, 6},
                 {WordStdTotal, 30},
                 {WordStdChars, 10},
                 {WordStdWords, 12},
                 {WordStdFunc, 8},
                 {WordShortTotal, 22},
                 {WordShortStd, 6},
                 {WordShortCharShort, 4},
                 {WordShortWordShort, 4},
                 {WordShortFunc, 8}})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(countUserKeys(tables(c.chars, c.words)), c.expected);
    }
}

TEST(UserKeys, CountingLeavesTheTablesAsBuiltAndASecondCountGivesTheSameNumbers) {
    const coding::TextTables typed =
        tables({{"，", 1, "", ""}, {" ", 1, "", ""}},
               {QList<CodeRecord>{{" ", 1, "", ""}},
                QList<CodeRecord>{{"， ", 1, "", ""}, {"我们", 2, "235272", ""}}},
               1);
    const KeyCounts first = countUserKeys(typed);
    EXPECT_EQ(typed.WordTable[1][0].text, QStringLiteral("， "));
    EXPECT_EQ(typed.WordTable[0][0].text, QStringLiteral(" "));
    EXPECT_EQ(first[WordStdPunct], 1);
    EXPECT_EQ(countUserKeys(typed), first);
}

} // namespace
} // namespace stats
