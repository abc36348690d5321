// Code lookup and the character table over a small fixture database.
#include "coding/codelookup.h"
#include "coding/texttables.h"
#include "teststate.h"
#include "widgets/messages.h"

#include <QFile>

namespace coding {
namespace {

using fixture::TestState;

TEST(LookupCodes, FollowsTheDatabaseAndTheLibraryFallback) {
    TestState t;
    t.library->codes = {{"丐", "10177"}, {"好学", "4432"}, {"乂字", "7777"}, {"囧", "77220"}};
    struct Case {
        const char *name;
        QString item, stdCode, shortCode;
    } const cases[] = {
        {"first_short_code_wins", "我", "23550", "23"},
        {"second_short_code_when_first_is_blank", "学", "32407", "324"},
        {"no_short_code", "习", "17120", ""},
        {"character_without_row_gets_library_code", "囧", "77220", ""},
        {"character_without_any_code", "乙", "", ""},
        {"lone_single_quote", "'", "", ""},
        {"lone_double_quote", "\"", "", ""},
        {"word_in_its_table", "学习", "324171", "3241"},
        {"word_without_short_code", "我们", "235272", ""},
        {"word_with_a_quote_inside", "我'们", "235999", "2359"},
        {"first_character_found_through_library", "丐帮", "101442", "1014"},
        {"word_without_row_gets_library_code", "好学", "4432", ""},
        {"first_code_not_a_digit_gives_library_code", "乂字", "7777", ""},
        {"first_character_without_code", "乙丙", "", ""},
        {"four_characters", "好好学习", "443217", ""},
        {"empty_item", "", "", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString stdCode = "x", shortCode = "x";
        EXPECT_TRUE(LookupCodes(*t.state, c.item, stdCode, shortCode));
        EXPECT_EQ(stdCode, c.stdCode);
        EXPECT_EQ(shortCode, c.shortCode);
    }
    // A lone quote is answered without a query; the library is asked only on misses.
    const int before = t.state->codeDatabase.queryCount();
    QString s1, s2;
    LookupCodes(*t.state, "'", s1, s2);
    EXPECT_EQ(t.state->codeDatabase.queryCount(), before);
    EXPECT_FALSE(t.library->calls.contains("code:我"));
    EXPECT_TRUE(t.messages.shown.isEmpty());
}

TEST(TestTextCharTable, DistinctCharactersInOrderOfFirstOccurrence) {
    TestState t;
    t.library->codes = {{"囧", "77220"}};
    struct Case {
        const char *name;
        QString text;
        QList<CodeRecord> table;
    } const cases[] = {
        {"letters_and_digits_are_left_out",
         "我们，我们ab1",
         {{"我", 2, "23550", "23"}, {"们", 2, "27220", "272"}, {"，", 1, "", ""}}},
        {"empty_text", "", {}},
        {"short_code_does_not_carry_over",
         "好习习好 A",
         {{"好", 2, "47447", "474"}, {"习", 2, "17120", ""}, {" ", 1, "", ""}}},
        {"no_library_fallback", "囧", {{"囧", 1, "", ""}}},
        {"upper_case_letters_and_full_width_digit",
         "Z１'",
         {{"１", 1, "", ""}, {"'", 1, "00000", ""}}},
        {"surrogate_pair_is_one_character", "\U00020000\U00020000", {{"\U00020000", 2, "", ""}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto tables = buildTextTables(*t.state, c.text, {}, TableKind::TestText);
        ASSERT_TRUE(tables);
        EXPECT_EQ(tables->CharTable, c.table);
        EXPECT_EQ(tables->CharTableLast(), c.table.size() - 1);
    }
    EXPECT_TRUE(t.library->calls.isEmpty());
}

TEST(CodeDatabase, MissingOrDamagedFileIsReportedOnceAndNeverCrashes) {
    struct Case {
        const char *name;
        std::function<void(const QString &path)> make;
        QString says;
    } const cases[] = {
        {"missing", [](const QString &) {}, "不存在"},
        {"garbage",
         [](const QString &path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write(QByteArray(4096, 'x'));
         },
         "已损坏"},
        {"empty_file",
         [](const QString &path) {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
         },
         "已损坏"},
        {"table_missing",
         [](const QString &path) {
             const QString error = fixture::writeDatabaseWithout(path, "jmzici");
             ASSERT_TRUE(error.isEmpty()) << error.toStdString();
         },
         "已损坏"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TestState t(TestState::Database::None);
        c.make(t.databasePath());
        t.library->codes = {{"我", "23550"}};

        QString stdCode = "x", shortCode = "x";
        EXPECT_FALSE(LookupCodes(*t.state, "我", stdCode, shortCode));
        EXPECT_EQ(stdCode, "");
        EXPECT_EQ(shortCode, "");
        EXPECT_FALSE(buildTextTables(*t.state, "我们", {}, TableKind::TestText));

        widgets::reportCodeDatabaseError(*t.state);
        widgets::reportCodeDatabaseError(*t.state); // the same trouble is told once
        ASSERT_EQ(t.messages.shown.size(), 1);
        const ShownMessage &m = t.messages.shown.first();
        EXPECT_EQ(m.title, "提示信息");
        EXPECT_EQ(m.icon, MsgIcon::Exclamation);
        EXPECT_TRUE(m.text.contains(QDir::toNativeSeparators(t.databasePath())))
            << m.text.toStdString();
        EXPECT_TRUE(m.text.contains(c.says)) << m.text.toStdString();

        // Once the file is right, the next lookup opens it.
        t.write(fixture::standardRows());
        EXPECT_TRUE(LookupCodes(*t.state, "我", stdCode, shortCode));
        EXPECT_EQ(stdCode, "23550");
        widgets::reportCodeDatabaseError(*t.state);
        EXPECT_EQ(t.messages.shown.size(), 1);
    }
}

} // namespace
} // namespace coding
