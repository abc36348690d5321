// Checks the generated code database against the code scheme that the README
// documents, with its worked examples, and the rules every row must keep; the
// short codes and the candidate places against the item list qorvan.txt that the
// input-method tables are built from.
#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace {

class CodeData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString path = qEnvironmentVariable("TREVIX_TEST_APP_DIR") + "/jtdb.dat";
        ASSERT_TRUE(QFile::exists(path)) << path.toStdString();
        auto db = QSqlDatabase::addDatabase("QSQLITE", "codedata");
        db.setDatabaseName(path);
        db.setConnectOptions("QSQLITE_OPEN_READONLY");
        ASSERT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    static QSqlDatabase db() { return QSqlDatabase::database("codedata"); }

    struct Row {
        QString srm, jm1, jm2;
        bool found = false;
    };
    static Row row(const QString &table, const QString &hz) {
        QSqlQuery q(db());
        q.prepare("select srm, jm1, jm2 from " + table + " where hz = ?");
        q.addBindValue(hz);
        EXPECT_TRUE(q.exec()) << q.lastError().text().toStdString();
        Row r;
        if (q.next()) {
            r = {q.value(0).toString(), q.value(1).toString(), q.value(2).toString(), true};
        }
        return r;
    }
    // One line of qorvan.txt: the item, its standard code, its short codes; the
    // lines run from the most frequent item down (ties in code point order).
    struct Item {
        QString hz, srm;
        QStringList shortCodes;
    };
    static const QList<Item> &items() {
        static const QList<Item> list = [] {
            QList<Item> out;
            QFile f(qEnvironmentVariable("TREVIX_TEST_APP_DIR") + "/qorvan.txt");
            if (!f.open(QIODevice::ReadOnly))
                return out;
            for (const QByteArray &line : f.readAll().split('\n')) {
                const QStringList parts = QString::fromUtf8(line).split('\t');
                if (parts.size() == 4)
                    out.append({parts[0], parts[1], parts[2].split(',', Qt::SkipEmptyParts)});
            }
            return out;
        }();
        return list;
    }
    static QStringList column(const QString &sql) {
        QSqlQuery q(db());
        EXPECT_TRUE(q.exec(sql)) << q.lastError().text().toStdString();
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

const QStringList kTables = {"jtzi",  "jtci0", "jtci1", "jtci2", "jtci3", "jtci4",
                             "jtci5", "jtci6", "jtci7", "jtci8", "jtci9"};

struct Example {
    const char *name;
    const char *table;
    const char *hz;
    const char *srm;
    const char *jm1;
    const char *jm2;
};

// The examples of the README's code-scheme section.
const Example kExamples[] = {
    {"character_with_two_short_codes", "jtzi", "我", "23550", "23", "235"},
    {"character_with_one_short_code", "jtzi", "们", "27220", "272", " "},
    {"character_without_short_code", "jtzi", "习", "17120", " ", " "},
    {"two_character_word", "jtci3", "学习", "324171", "3241", " "},
    {"three_character_word", "jtci3", "计算机", "348847", "3488", " "},
    {"four_character_word", "jtci1", "一心一意", "131000", " ", " "},
    {"long_word_with_two_short_codes", "jtci5", "中华人民共和国", "528060", "528", "5280"},
};

TEST_F(CodeData, ReadmeExamples) {
    for (const auto &e : kExamples) {
        SCOPED_TRACE(e.name);
        const Row r = row(e.table, QString::fromUtf8(e.hz));
        ASSERT_TRUE(r.found);
        EXPECT_EQ(r.srm, QString::fromUtf8(e.srm));
        EXPECT_EQ(r.jm1, QString::fromUtf8(e.jm1));
        EXPECT_EQ(r.jm2, QString::fromUtf8(e.jm2));
    }
}

TEST_F(CodeData, WordCodesFollowTheRuleAndLieInTheFirstDigitsTable) {
    int checked = 0;
    for (int d = 0; d <= 9; ++d) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec(QString("select hz, srm from jtci%1").arg(d)));
        while (q.next()) {
            const QString hz = q.value(0).toString();
            const QString srm = q.value(1).toString();
            QStringList c;
            for (const QChar ch : hz) {
                ASSERT_FALSE(ch.isSurrogate()) << "supplementary characters are not expected";
                c << row("jtzi", QString(ch)).srm;
            }
            QString expected;
            if (c.size() == 2)
                expected = c[0].left(3) + c[1].left(3);
            else if (c.size() == 3)
                expected = c[0].left(2) + c[1].left(2) + c[2].left(2);
            else
                expected = c[0].left(1) + c[1].left(1) + c[2].left(2) + c.last().left(2);
            ASSERT_EQ(srm.size(), 6) << hz.toStdString();
            ASSERT_EQ(srm, expected) << hz.toStdString();
            ASSERT_EQ(c[0].left(1), QString::number(d)) << hz.toStdString();
            if (++checked >= 3000)
                return; // a large sample is enough; the rule is the same for every row
        }
    }
}

TEST_F(CodeData, ShortCodesAreUniqueProperPrefixesAndListedInJmzici) {
    QSet<QString> seen;
    QSet<QString> withShort;
    for (const QString &t : kTables) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec("select hz, srm, jm1, jm2 from " + t + " where jm1 <> ' '"));
        while (q.next()) {
            const QString hz = q.value(0).toString(), srm = q.value(1).toString();
            const QString jm1 = q.value(2).toString(), jm2 = q.value(3).toString();
            withShort << hz;
            for (const QString &jm : {jm1, jm2}) {
                if (jm == " ")
                    continue;
                EXPECT_TRUE(srm.startsWith(jm) && jm.size() < srm.size()) << hz.toStdString();
                EXPECT_FALSE(seen.contains(jm)) << "short code used twice: " << jm.toStdString();
                seen << jm;
            }
            if (jm2 != " ") {
                EXPECT_LT(jm1.size(), jm2.size()) << hz.toStdString();
            }
            // Characters get short codes of one to three digits, words of three
            // and four.
            for (const QString &jm : {jm1, jm2}) {
                if (jm == " ")
                    continue;
                if (t == "jtzi")
                    EXPECT_LE(jm.size(), 3) << hz.toStdString();
                else
                    EXPECT_TRUE(jm.size() == 3 || jm.size() == 4) << hz.toStdString();
            }
        }
    }
    // No row has jm2 without jm1.
    for (const QString &t : kTables)
        EXPECT_TRUE(column("select hz from " + t + " where jm1 = ' ' and jm2 <> ' '").isEmpty());
    const QStringList listed = column("select hz from jmzici");
    EXPECT_EQ(QSet<QString>(listed.begin(), listed.end()), withShort);
    EXPECT_EQ(column("select srm from jmzici where hz = '我'"), QStringList{"23"});
}

// The levels are filled one, two, three, four digits; in a level the items go
// from the most frequent down, each taking the prefix of that length while it is
// free, until it holds two. So an item that takes part in a level and does not
// hold that level's prefix must have found it taken, or have held two shorter
// codes already; and no item ahead of the holder in the list could have taken it.
TEST_F(CodeData, ShortCodesGoToTheMostFrequentItemsFirst) {
    ASSERT_GT(items().size(), 100000);
    QHash<QString, qsizetype> holder; // short code -> index of its item in the list
    for (qsizetype i = 0; i < items().size(); ++i) {
        for (const QString &jm : items()[i].shortCodes)
            holder.insert(jm, i);
    }
    // The list says what the database says.
    QHash<QString, QStringList> rows; // item -> standard code, short codes
    for (const QString &t : kTables) {
        QSqlQuery q(db());
        ASSERT_TRUE(q.exec("select hz, srm, jm1, jm2 from " + t));
        while (q.next()) {
            QStringList codes{q.value(1).toString()};
            for (const int c : {2, 3}) {
                if (q.value(c).toString() != " ")
                    codes << q.value(c).toString();
            }
            rows.insert(q.value(0).toString(), codes);
        }
    }
    ASSERT_EQ(rows.size(), items().size());
    for (const Item &item : items())
        ASSERT_EQ(rows.value(item.hz), QStringList{item.srm} + item.shortCodes)
            << item.hz.toStdString();

    int fourDigitWords = 0;
    for (qsizetype i = 0; i < items().size(); ++i) {
        const Item &item = items()[i];
        const bool word = item.hz.size() > 1;
        for (int level = word ? 3 : 1; level <= (word ? 4 : 3); ++level) {
            const QString prefix = item.srm.left(level);
            const auto shorter =
                std::count_if(item.shortCodes.begin(), item.shortCodes.end(),
                              [level](const QString &jm) { return jm.size() < level; });
            if (item.shortCodes.contains(prefix)) {
                fourDigitWords += level == 4;
                continue;
            }
            if (shorter >= 2)
                continue;
            ASSERT_TRUE(holder.contains(prefix))
                << item.hz.toStdString() << " left the free short code " << prefix.toStdString();
            ASSERT_LT(holder.value(prefix), i)
                << prefix.toStdString() << " went to a less frequent item than "
                << item.hz.toStdString();
        }
    }
    EXPECT_GT(fourDigitWords, 5000);
}

// Under one code both input-method tables list the items in the order of
// qorvan.txt; the table candidates gives each item's shortest code and its place
// there.
TEST_F(CodeData, CandidatePlacesFollowTheOrderOfTheItemList) {
    QHash<QString, int> under; // code -> items listed so far
    QHash<QString, std::pair<QString, int>> expected;
    for (const Item &item : items()) {
        QHash<QString, int> place;
        for (const QString &code : QStringList{item.srm} + item.shortCodes)
            place.insert(code, ++under[code]);
        const QString shortest = item.shortCodes.value(0, item.srm);
        expected.insert(item.hz, {shortest, place.value(shortest)});
        // A short code is no other item's code: its item is always first.
        if (!item.shortCodes.isEmpty()) {
            ASSERT_EQ(place.value(shortest), 1) << item.hz.toStdString();
        }
    }
    QSqlQuery q(db());
    ASSERT_TRUE(q.exec("select hz, code, position from candidates"));
    int rows = 0, notFirst = 0;
    while (q.next()) {
        const QString hz = q.value(0).toString();
        ASSERT_TRUE(expected.contains(hz)) << hz.toStdString();
        EXPECT_EQ(std::make_pair(q.value(1).toString(), q.value(2).toInt()), expected.value(hz))
            << hz.toStdString();
        notFirst += q.value(2).toInt() > 1;
        ++rows;
    }
    EXPECT_EQ(rows, expected.size());
    EXPECT_GT(notFirst, 0);
    EXPECT_EQ(column("select position from candidates where hz = '长椅'"), QStringList{"1"});
}

TEST_F(CodeData, SizesAreInTheExpectedRange) {
    const int chars = column("select count(*) from jtzi").value(0).toInt();
    int words = 0;
    for (int d = 0; d <= 9; ++d)
        words += column(QString("select count(*) from jtci%1").arg(d)).value(0).toInt();
    EXPECT_GT(chars, 15000);
    EXPECT_GT(words, 100000);
    EXPECT_LT(words, 160000);
}

} // namespace
