// The candidate places of the code database: the keys that reach a place, the
// lookup over a small database with the table candidates, and a database without
// it or without a file.
#include "coding/candidates.h"
#include "fixturedatabase.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>

namespace coding {

void PrintTo(const CandidatePlace &p, std::ostream *os) {
    *os << "{" << p.code.toStdString() << ", " << p.position << "}";
}
void PrintTo(const CandidateKeys &k, std::ostream *os) {
    *os << "{" << k.pagesDown << " pages down, F" << k.selectionKey << "}";
}

namespace {

TEST(CandidateKeys, PageAndSelectionKeyOfAPosition) {
    struct Case {
        int position;
        CandidateKeys keys;
    } const cases[] = {
        {1, {0, 1}},  {2, {0, 2}},   {5, {0, 5}}, {6, {1, 1}},  {10, {1, 5}},
        {11, {2, 1}}, {86, {17, 1}}, {0, {0, 0}}, {-3, {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.position);
        EXPECT_EQ(candidateKeys(c.position), c.keys);
    }
}

using Row = fixture::CandidateRow;

// A database of the program's tables and, when rows is given, the table
// candidates with those rows; without rows as an older jtdb.dat has them.
QString writeDatabase(const QString &path, const QList<Row> *rows) {
    fixture::CodeRows all = fixture::standardRows();
    all.candidates.reset();
    if (rows)
        all.candidates = *rows;
    return fixture::writeCodeDatabase(path, all);
}

TEST(CandidateTable, FindsThePlaceOfAnItem) {
    QTemporaryDir dir;
    const QString path = dir.filePath("jtdb.dat");
    const QList<Row> rows = {
        {"我", "23", 1},  {"变化", "004242", 2},   {"五分", "101802", 6}, {"我'们", "235272", 3},
        {"空码", " ", 2}, {"坏位", "123456", "x"}, {"零位", "123456", 0}, {"𠮷", "40600", 4},
    };
    ASSERT_EQ(writeDatabase(path, &rows), QString());
    CandidateTable table;
    ASSERT_TRUE(table.open(path)) << table.errorString().toStdString();
    EXPECT_TRUE(table.errorString().isEmpty());

    struct Case {
        const char *name;
        QString item;
        CandidateTable::Result result;
        CandidatePlace place;
    } const cases[] = {
        {"first_under_its_short_code", "我", CandidateTable::Result::Found, {"23", 1}},
        {"second_on_the_first_page", "变化", CandidateTable::Result::Found, {"004242", 2}},
        {"first_of_the_second_page", "五分", CandidateTable::Result::Found, {"101802", 6}},
        {"quote_inside_is_a_plain_key", "我'们", CandidateTable::Result::Found, {"235272", 3}},
        {"supplementary_character", "𠮷", CandidateTable::Result::Found, {"40600", 4}},
        {"not_in_the_tables", "乙", CandidateTable::Result::NotFound, {}},
        {"empty_item", "", CandidateTable::Result::NotFound, {}},
        {"row_without_code", "空码", CandidateTable::Result::NotFound, {}},
        {"position_no_number", "坏位", CandidateTable::Result::NotFound, {}},
        {"position_zero", "零位", CandidateTable::Result::NotFound, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        CandidatePlace place{"stale", 9};
        EXPECT_EQ(table.find(c.item, place), c.result);
        EXPECT_EQ(place, c.place);
    }
}

TEST(CandidateTable, RefusesWhatCannotAnswer) {
    QTemporaryDir dir;
    CandidateTable table;
    CandidatePlace place{"stale", 9};

    // Never opened.
    EXPECT_EQ(table.find("我", place), CandidateTable::Result::Failed);
    EXPECT_EQ(place, CandidatePlace{});

    // No file.
    const QString missing = dir.filePath("none/jtdb.dat");
    EXPECT_FALSE(table.open(missing));
    EXPECT_TRUE(table.errorString().contains("不存在")) << table.errorString().toStdString();
    EXPECT_TRUE(table.errorString().contains(QDir::toNativeSeparators(missing)));
    EXPECT_EQ(table.find("我", place), CandidateTable::Result::Failed);

    // A database of an older release, without the table.
    const QString old = dir.filePath("old.dat");
    ASSERT_EQ(writeDatabase(old, nullptr), QString());
    EXPECT_FALSE(table.open(old));
    EXPECT_FALSE(table.isOpen());
    EXPECT_TRUE(table.errorString().contains("candidates")) << table.errorString().toStdString();

    // Not a database at all.
    const QString text = dir.filePath("text.dat");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("not a database\n").repeated(400));
    }
    EXPECT_FALSE(table.open(text));
    EXPECT_TRUE(table.errorString().contains("已损坏")) << table.errorString().toStdString();

    // A good file afterwards opens, and a second open of the same path keeps it.
    const QString good = dir.filePath("good.dat");
    const QList<Row> rows = {{"我", "23", 1}};
    ASSERT_EQ(writeDatabase(good, &rows), QString());
    ASSERT_TRUE(table.open(good));
    EXPECT_TRUE(table.errorString().isEmpty());
    EXPECT_TRUE(table.open(good));
    EXPECT_EQ(table.find("我", place), CandidateTable::Result::Found);
    EXPECT_EQ(place, (CandidatePlace{"23", 1}));
    table.close();
    EXPECT_EQ(table.find("我", place), CandidateTable::Result::Failed);
}

// The database the build generates: the README's examples, among them two words
// of one code (文化 has a short code as well).
TEST(CandidateTable, AnswersFromTheGeneratedDatabase) {
    CandidateTable table;
    ASSERT_TRUE(table.open(qEnvironmentVariable("TREVIX_TEST_APP_DIR") + "/jtdb.dat"))
        << table.errorString().toStdString();
    const std::pair<QString, CandidatePlace> cases[] = {
        {"我", {"23", 1}},       {"们", {"272", 1}},          {"习", {"17120", 1}},
        {"学习", {"3241", 1}},   {"一心一意", {"131000", 1}}, {"文化", {"0042", 1}},
        {"变化", {"004242", 2}},
    };
    for (const auto &[item, expected] : cases) {
        SCOPED_TRACE(item.toStdString());
        CandidatePlace place;
        EXPECT_EQ(table.find(item, place), CandidateTable::Result::Found);
        EXPECT_EQ(place, expected);
    }
}

} // namespace
} // namespace coding
