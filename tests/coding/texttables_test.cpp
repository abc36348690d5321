// The word table of the test text: words by length class, with codes, most
// frequent first.
#include "coding/codelookup.h"
#include "coding/texttables.h"
#include "teststate.h"
#include "widgets/messages.h"

namespace coding {
namespace {

using fixture::TestState;

QStringList words(const QList<CodeRecord> &entries) {
    QStringList out;
    for (const CodeRecord &r : entries)
        out << QStringLiteral("%1×%2").arg(r.text).arg(r.count);
    return out;
}

TEST(TestTextWordTable, WordsByClassWithCodes) {
    TestState t;
    AppState &s = *t.state;
    const auto tables = buildTextTables(s, "我们学习我们", "001100", TableKind::TestText);
    ASSERT_TRUE(tables);
    for (size_t c = 0; c < 5; ++c)
        EXPECT_EQ(tables->WordCount(c), c == 1 ? 2 : 0);
    EXPECT_EQ(tables->WordTable[1],
              (QList<CodeRecord>{{"我们", 2, "235272", ""}, {"学习", 1, "324171", "3241"}}));
}

TEST(TestTextWordTable, ClassesAndWhatStaysOut) {
    TestState t;
    AppState &s = *t.state;
    struct Case {
        const char *name;
        QString text, tags;
        QList<QStringList> classes; // classes 1 to 5; missing ones are empty
    } const cases[] = {
        {"five_and_six_characters_share_class_five",
         "一二三四五六甲乙丙丁戊",
         "00000011111",
         {{}, {}, {}, {}, {"甲乙丙丁戊×1", "一二三四五六×1"}}},
        {"punctuation_letters_and_blanks_stay_out",
         "好，，。ab12 好",
         "0222444431",
         {{"好×2"}, {}, {}, {}, {}}},
        {"three_classes",
         "好我们学习我",
         "011001",
         {{"我×1", "好×1"}, {"学习×1", "我们×1"}, {}, {}, {}}},
        {"empty_text", "", "", {}},
        {"empty_tags", "我们", "", {}},
        {"tags_shorter_than_text", "我们学习", "00", {{}, {"我们×1"}, {}, {}, {}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto tables = buildTextTables(s, c.text, c.tags, TableKind::TestText);
        ASSERT_TRUE(tables);
        for (int k = 0; k < 5; ++k) {
            const QStringList expected = c.classes.value(k);
            EXPECT_EQ(words(tables->WordTable[k]), expected) << "class " << k + 1;
            EXPECT_EQ(tables->WordCount(k), expected.size()) << "class " << k + 1;
        }
    }
}

// The order within a class is that of a selection sort that, among equal counts,
// takes the later entry: worked out by hand for each row.
TEST(TestTextWordTable, OrderOfEqualCounts) {
    TestState t;
    AppState &s = *t.state;
    struct Case {
        const char *name;
        QString text, tags;
        QStringList order;
    } const cases[] = {
        {"two_equal", "甲乙", "01", {"乙×1", "甲×1"}},
        {"four_equal", "甲乙丙丁", "0101", {"丁×1", "甲×1", "乙×1", "丙×1"}},
        {"mixed", "甲乙乙丙丁丁戊", "0101010", {"丁×2", "乙×2", "戊×1", "丙×1", "甲×1"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const auto tables = buildTextTables(s, c.text, c.tags, TableKind::TestText);
        ASSERT_TRUE(tables);
        EXPECT_EQ(words(tables->WordTable[0]), c.order);
    }
}

TEST(TestTextWordTable, MissingDatabaseLeavesTheTableEmpty) {
    TestState t(TestState::Database::None);
    AppState &s = *t.state;
    EXPECT_FALSE(buildTextTables(s, "我们学习我们", "001100", TableKind::TestText));
    widgets::reportCodeDatabaseError(s);
    EXPECT_EQ(t.messages.shown.size(), 1);

    // A text without anything to look up needs no database.
    EXPECT_TRUE(buildTextTables(s, "a1", "44", TableKind::TestText));
}

} // namespace
} // namespace coding
