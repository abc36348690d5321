// The tables of the typed text: its own code lookup, the word table along the
// library's tags, the character table, and their keystroke counts, over the
// standard fixture database (tests/coding/fixturedatabase.cpp) and the fake library.
#include "stats/keystrokes.h"
#include "stats/usertables.h"

#include "coding/codelookup.h"
#include "coding/teststate.h"
#include "coding/texttables.h"

#include <gtest/gtest.h>

namespace stats {
namespace {

using coding::AppState;
using coding::CodePair;
using coding::CodeRecord;
using coding::LookupRule;
using coding::TableKind;
using coding::TextTables;
using coding::fixture::TestState;

TextTables typedTables(AppState &s, const QString &text, const QString &tags) {
    const auto tables = coding::buildTextTables(s, text, tags, TableKind::TypedText);
    EXPECT_TRUE(tables);
    return tables.value_or(TextTables{});
}

std::array<int, 5> wordCounts(const TextTables &t) {
    return {t.WordCount(0), t.WordCount(1), t.WordCount(2), t.WordCount(3), t.WordCount(4)};
}

QStringList entries(const QList<CodeRecord> &table) {
    QStringList out;
    for (const CodeRecord &r : table)
        out << QStringLiteral("%1×%2 %3/%4").arg(r.text).arg(r.count).arg(r.stdCode, r.shortCode);
    return out;
}

TEST(TypedTextLookup, DiffersFromTheProgramsRuleWhereTheWordRuleDoes) {
    TestState t;
    AppState &s = *t.state;
    t.library->codes = {
        {"丐", "10300"}, {"丐帮", "7777"}, {"学好", "3247"}, {"'", "11111"}, {"乂乂", "8888"}};
    ASSERT_TRUE(coding::openCodeDatabase(s));
    struct Case {
        const char *name;
        QString item;
        bool withLibrary;
        CodePair user, program; // this lookup, and LookupCodes
    } const cases[] = {
        {"word_through_its_first_character", "我们", true, {"235272", ""}, {"235272", ""}},
        {"character_short_code_from_jm2", "学", true, {"32407", "324"}, {"32407", "324"}},
        {"first_character_without_row_means_the_library_for_the_word",
         "丐帮",
         true,
         {"7777", ""},
         {"101442", "1014"}},
        {"word_without_row_takes_the_library_code", "学好", true, {"3247", ""}, {"3247", ""}},
        {"first_code_not_a_digit_means_no_row", "乂乂", true, {"8888", ""}, {"8888", ""}},
        {"lone_quote_has_no_codes_at_all", "'", true, {}, {}},
        {"character_table_takes_no_library_code", "丐", false, {}, {"10300", ""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CodePair user, program;
        ASSERT_TRUE(coding::findItemCodes(s.codeDatabase, s.library.get(), c.item, user,
                                          c.withLibrary ? LookupRule::TypedWord
                                                        : LookupRule::TypedCharacter));
        EXPECT_EQ(user, c.user);
        ASSERT_TRUE(coding::findItemCodes(s.codeDatabase, s.library.get(), c.item, program));
        EXPECT_EQ(program, c.program);
    }
    // The quote reached neither the database's word tables nor the library.
    t.library->calls.clear();
    CodePair codes;
    coding::findItemCodes(s.codeDatabase, s.library.get(), "'", codes, LookupRule::TypedWord);
    coding::findItemCodes(s.codeDatabase, s.library.get(), "\"", codes, LookupRule::TypedWord);
    EXPECT_TRUE(t.library->calls.isEmpty());
}

TEST(TypedTextWordTable, ItemsInOrderOfFirstOccurrence) {
    TestState t;
    AppState &s = *t.state;
    const TextTables u = typedTables(s, "我们学习，，我们ab1学", "001122004441");
    EXPECT_EQ(u.AlphaCount, 3);
    EXPECT_EQ(wordCounts(u), (std::array<int, 5>{1, 3, 0, 0, 0}));
    EXPECT_EQ(entries(u.WordTable[0]), QStringList{"学×1 32407/324"});
    EXPECT_EQ(entries(u.WordTable[1]),
              (QStringList{"我们×2 235272/", "学习×1 324171/3241", "，，×1 /"}));
    for (int c : {2, 3, 4})
        EXPECT_TRUE(u.WordTable[c].isEmpty());
}

TEST(TypedTextWordTable, ClassesAndLetters) {
    struct Case {
        const char *name;
        QString text, tags;
        std::array<int, 5> wordCount;
        int alpha;
    } const cases[] = {
        {"six_and_five_characters_share_class_five",
         "好好学习好好我们我们我",
         "00000011111",
         {0, 0, 0, 0, 2},
         0},
        {"letter_runs_add_up", "ab我cd12", "4404444", {1, 0, 0, 0, 0}, 6},
        {"different_characters_make_different_items", "我們我们", "0011", {0, 2, 0, 0, 0}, 0},
        {"nothing_typed", "", "", {0, 0, 0, 0, 0}, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestState t;
        AppState &s = *t.state;
        const TextTables u = typedTables(s, c.text, c.tags);
        EXPECT_EQ(wordCounts(u), c.wordCount);
        EXPECT_EQ(u.AlphaCount, c.alpha);
    }
}

TEST(TypedTextCharTable, DistinctCharactersWithTheirOwnRowsOnly) {
    TestState t;
    AppState &s = *t.state;
    t.library->codes = {{"丐", "10300"}};
    // 习 has neither short code: it must not keep the short code of 我 before it.
    // No tags: only the character table is asked for.
    const TextTables u = typedTables(s, "我习我，a1 丐'Z", {});
    EXPECT_EQ(entries(u.CharTable),
              (QStringList{"我×2 23550/23", "习×1 17120/", "，×1 /", " ×1 /", "丐×1 /", "'×1 /"}));
    EXPECT_EQ(u.CharTableLast(), 5);
    EXPECT_TRUE(t.library->calls.isEmpty());
}

TEST(BuildUserTables, SegmentsTheTypedTextOnce) {
    TestState t;
    AppState &s = *t.state;
    s.test.TypedText = "我们学习。";
    t.library->tagsFor.insert(s.test.TypedText, "00112");
    coding::LibraryError error;
    ASSERT_EQ(buildUserTables(s, &error), UserTablesResult::Ok);
    ASSERT_TRUE(s.derived.UserKeysDone());
    EXPECT_EQ(s.derived.typed->UserTags, QStringLiteral("00112"));
    EXPECT_EQ(t.library->calls.count("divide:我们学习。"), 1);
    EXPECT_EQ(wordCounts(s.derived.typed->tables), (std::array<int, 5>{1, 2, 0, 0, 0}));
    EXPECT_EQ(s.derived.typed->tables.CharTableLast(), 4);
}

TEST(BuildUserTables, FailuresLeaveNoTables) {
    {
        SCOPED_TRACE("library_cannot_load");
        TestState t;
        AppState &s = *t.state;
        s.derived.typed = coding::TypedTables{"0", {{{"旧", 1, "", ""}}, {}, 0}};
        s.test.TypedText = "我们";
        t.library->loadError = "词库文件损坏";
        coding::LibraryError error;
        EXPECT_EQ(buildUserTables(s, &error), UserTablesResult::LibraryFailed);
        EXPECT_EQ(error.kind, coding::LibraryError::Kind::DictionaryUnusable);
        EXPECT_EQ(error.detail, QStringLiteral("词库文件损坏"));
        EXPECT_FALSE(s.derived.typed);
    }
    {
        SCOPED_TRACE("tags_of_the_wrong_length");
        TestState t;
        AppState &s = *t.state;
        s.test.TypedText = "我们";
        t.library->tagsFor.insert("我们", "0");
        coding::LibraryError error;
        EXPECT_EQ(buildUserTables(s, &error), UserTablesResult::LibraryFailed);
        EXPECT_EQ(error.kind, coding::LibraryError::Kind::Mismatch);
    }
    {
        SCOPED_TRACE("no_database");
        TestState t(TestState::Database::None);
        AppState &s = *t.state;
        s.test.TypedText = "我们";
        t.library->tagsFor.insert("我们", "00");
        EXPECT_EQ(buildUserTables(s, nullptr), UserTablesResult::DatabaseFailed);
        EXPECT_FALSE(s.derived.typed);
        EXPECT_EQ(s.codeDatabase.error().kind, coding::CodeDatabaseError::Kind::Missing);
    }
}

// The whole way from the typed text to the counts.
TEST(UserKeysOfTypedText, Cases) {
    struct Case {
        const char *name;
        QString text, tags;
        std::initializer_list<std::pair<int, int>> expected; // index, count
    } const cases[] = {
        {"three_letters_and_three_digits",
         "abc123",
         "444444",
         {{CharStdTotal, 6},
          {CharShortTotal, 6},
          {WordStdTotal, 6},
          {WordShortTotal, 6},
          {CharStdAlpha, 6},
          {WordShortAlpha, 6},
          {CharStdFunc, 0},
          {WordStdPunct, 0}}},
        {"two_full_width_commas_in_a_row",
         "我，，",
         "022",
         {{CharStdPunct, 2},
          {CharShortPunct, 2},
          {WordStdPunct, 2},
          {WordShortPunct, 2},
          {CharStdTotal, 5 + 2 + 2},
          {WordStdTotal, 5 + 2 + 2}}},
        {"blank_between_words",
         "我 们",
         "021",
         {{CharStdTotal, 14},
          {CharStdPunct, 0},
          {CharShortTotal, 2 + 3 + 4},
          {WordStdTotal, 14},
          {WordStdPunct, 0},
          {WordShortTotal, 5 + 6},
          {WordShortFunc, 6}}},
        {"quotes_count_as_punctuation",
         "'我\"",
         "202",
         {{CharStdPunct, 2}, {WordStdPunct, 2}, {WordShortPunct, 2}}},
        {"character_without_short_code_after_one_with",
         "我习",
         "01",
         {{CharShortShort, 2}, {CharShortStd, 5}, {WordShortCharShort, 2}, {WordShortStd, 5}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestState t;
        AppState &s = *t.state;
        s.test.TypedText = c.text;
        t.library->tagsFor.insert(c.text, c.tags);
        ASSERT_EQ(buildUserTables(s, nullptr), UserTablesResult::Ok);
        const KeyCounts k = countUserKeys(s.derived.typed->tables);
        for (const auto &[index, count] : c.expected)
            EXPECT_EQ(k[size_t(index)], count) << "index " << index;
    }
}

} // namespace
} // namespace stats
